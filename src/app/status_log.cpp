#include "app/status_log.h"

#include "app/state.h"
#include "app/window_layout.h"
#include "platform/windowing.h"
#include "track/track.h"

namespace app {

void PostStatus() {
    AnalyserState& s = state;
    if (s.StatusMessage.size() > track::kStatusLineLength)
        s.StatusMessage.resize(track::kStatusLineLength);
    for (int i = 1; i < s.StatusLineCount; ++i) s.StatusLines[i] = s.StatusLines[i + 1];
    s.StatusLines[s.StatusLineCount] = s.StatusMessage;
    s.StatusMessage.clear();
    for (int i = 1; i <= s.StatusLineCount; ++i)
        s.StatusMessage += s.StatusLines[i] + s.LineSeparator;
    platform::SetText(kStatusLogControl, s.StatusMessage);
}

}  // namespace app
