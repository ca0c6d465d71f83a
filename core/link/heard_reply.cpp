#include "core/link/heard_reply.h"

#include "core/link/handshake_reply.h"

#include <algorithm>

namespace korvane::link {

serial::Bytes HeardReply::bytes() const
{
    serial::Bytes all;
    for (const serial::Bytes& piece : pieces)
        all.insert(all.end(), piece.begin(), piece.end());
    return all;
}

namespace {

// Two or more older answers, one after the other.
bool repeatedOlderAnswer(const serial::Bytes& run, const AnswerShape& shape)
{
    const std::size_t n = shape.olderLength;
    if (run.size() < 2 * n || run.size() % n != 0) return false;
    for (std::size_t i = n; i < run.size(); ++i)
        if (run[i] != run[i - n]) return false;
    return true;
}

Judged judgeRun(const serial::Bytes& run, const AnswerShape& shape, bool retry)
{
    if (run.empty()) return { Verdict::TooShort, {} };
    if (run[0] > kHighestModelCode) return { Verdict::Noise, {} };
    if (retry && repeatedOlderAnswer(run, shape)) return { Verdict::Doubtful, {} };
    return { run.size() < shape.enough ? Verdict::TooShort : Verdict::Answer, run };
}

bool newerAnswer(const serial::Bytes& run, const AnswerShape& shape)
{
    return run.size() == shape.newerLength && run[1] == 1 && run[0] <= kHighestModelCode;
}

} // namespace

Judged judgeReply(const HeardReply& reply, const AnswerShape& shape, bool retry)
{
    if (!reply.settled) return { Verdict::Noise, {} };
    if (reply.pieces.size() <= 1) return judgeRun(reply.bytes(), shape, retry);
    const serial::Bytes& first = reply.pieces.front();
    const bool repeated = std::all_of(reply.pieces.begin(), reply.pieces.end(), [&](const serial::Bytes& p) { return p == first; });
    // An older radio's lone code byte twice could as well be a newer radio's answer cut in two.
    if (repeated && newerAnswer(first, shape)) return { Verdict::Answer, first };
    if (first[0] > kHighestModelCode) return { Verdict::Noise, {} };
    return { Verdict::Doubtful, {} };
}

} // namespace korvane::link
