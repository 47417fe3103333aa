#pragma once

namespace app {

inline constexpr int kStatusLineLength = 100;

// Adds `state.StatusMessage` as the newest of the six lines and shows the
// log. Afterwards StatusMessage holds the joined log text, so callers set it
// immediately before every call.
void PostStatus();

}  // namespace app
