// The desktop backend of the windowing layer, as the window's `main` asks
// for it: which toolkit stands behind it is the linked backend's business.
#pragma once

#include <memory>
#include <string>

#include "platform/windowing.h"

namespace platform {

// What the desktop tool needs of its backend beyond the layer's operations.
class DesktopWindowing : public Windowing {
  public:
    // The next open-file dialog answers `path` without opening. A dropped
    // track sets this itself and queues a press of `loadButton`.
    virtual void PreAnswerOpenDialog(const std::string& path) = 0;
    virtual void SetDropLoadButton(int loadButton) = 0;
};

// Connects to the display and makes the backend; null when there is no
// display to open the window on. TRACK_ANALYSE_FILE_CHOOSER=fltk asks for
// the toolkit's own file dialog instead of the desktop's, for scripted use:
// xdotool can drive it.
std::unique_ptr<DesktopWindowing> OpenDesktop();

}  // namespace platform
