#pragma once

namespace app {

// Adds `state.StatusMessage`, cut to track::kStatusLineLength characters,
// as the newest of the six lines and shows the log. Afterwards StatusMessage holds the joined log
// text, so callers set it immediately before every call.
void PostStatus();

}  // namespace app
