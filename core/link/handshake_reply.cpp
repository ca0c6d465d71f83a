#include "core/link/handshake_reply.h"

namespace korvane::link {

HandshakeReply classifyHandshakeReply(const serial::Bytes& reply)
{
    if (reply.empty() || reply[0] > kHighestModelCode) return {};
    const int code = reply[0];
    if (reply.size() == 1) return { ReplyKind::Older, code };
    return { reply[1] == 1 ? ReplyKind::Newer : ReplyKind::UnknownVersion, code };
}

} // namespace korvane::link
