#pragma once
// How a link operation ended, for callers that act on it (the window's refresh, the command
// line's exit status). The user has already been told through LinkUi.

namespace korvane::link {

enum class LinkEnd {
    Success, // the success message was shown
    Failed, // an error message was shown
    Declined, // the user answered No to a question; nothing was sent and nothing shown
    Refused, // another operation is using the port; nothing was done
};

} // namespace korvane::link
