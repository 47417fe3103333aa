// The desktop backend is FLTK's.
#include "platform/desktop.h"

#include <cstdlib>
#include <string>

#include "platform/fltk/fltk_windowing.h"

namespace platform {

std::unique_ptr<DesktopWindowing> OpenDesktop() {
    if (!OpenDisplay()) return nullptr;
    const char* chooser = std::getenv("TRACK_ANALYSE_FILE_CHOOSER");
    UseFileChooser(chooser && std::string(chooser) == "fltk" ? FileChooserKind::kFltk
                                                             : FileChooserKind::kSystem);
    return MakeFltkWindowing();
}

}  // namespace platform
