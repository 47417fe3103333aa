#include "start/core.h"

#include "app/actions.h"
#include "app/save_image.h"
#include "app/state.h"
#include "app/window_layout.h"
#include "platform/surface.h"

namespace start {

void StartCore(platform::Windowing* ui) {
    platform::UseWindowing(ui);
    app::InitialiseState();
}

void PrepareDrawing() {
    app::EnterJpegEncoder();
    if (platform::FontHandle(app::kCaptionFont) == nullptr) app::LoadCaptionFont();
}

}  // namespace start
