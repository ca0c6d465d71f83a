#pragma once
// What every fuzz target shares: a broken invariant stops the run with a readable line (libFuzzer
// then keeps the input), and the defaults of each model, built once.

#include "core/model/defaults.h"
#include "core/model/models.h"
#include "core/model/radio_image.h"

#include <array>
#include <cstddef>
#include <cstdio>
#include <cstdlib>

namespace korvane::fuzz {

inline void check(bool condition, const char* what)
{
    if (condition) return;
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}

// Model index -1 (no model) to kModelCount - 1. Building the defaults is the costliest step of a
// run, so each model's are built once.
inline const model::RadioImage& defaultsOf(int modelIndex)
{
    static const std::array<model::RadioImage, model::kModelCount + 1> images = [] {
        std::array<model::RadioImage, model::kModelCount + 1> all;
        for (int m = -1; m < model::kModelCount; ++m)
            all[static_cast<std::size_t>(m + 1)] = model::defaultImage(m);
        return all;
    }();
    return images[static_cast<std::size_t>(modelIndex + 1)];
}

} // namespace korvane::fuzz
