#pragma once
// A value or the message that explains why there is none. Errors are values: nothing is thrown
// from the core to its callers.

#include "core/util/message.h"

#include <utility>
#include <variant>

namespace korvane::util {

template <class T, class E = Message> class Result {
public:
    Result(T value) : m_data(std::move(value)) { }
    Result(E error) : m_data(std::move(error)) { }

    bool ok() const { return m_data.index() == 0; }
    explicit operator bool() const { return ok(); }

    T& value() { return std::get<0>(m_data); }
    const T& value() const { return std::get<0>(m_data); }
    T& operator*() { return value(); }
    const T& operator*() const { return value(); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }

    const E& error() const { return std::get<1>(m_data); }

private:
    std::variant<T, E> m_data;
};

} // namespace korvane::util
