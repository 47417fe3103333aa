#include "start/core.h"

#include "app/state.h"
#include "export/jpeg_encoder.h"
#include "picture/picture.h"
#include "platform/surface.h"

namespace start {

void StartCore(platform::Windowing* ui) {
    platform::UseWindowing(ui);
    app::InitialiseState();
}

void PrepareDrawing() {
    exporter::EnterJpegEncoder();
    if (platform::FontHandle(picture::kCaptionFont) == nullptr) picture::LoadCaptionFont();
}

}  // namespace start
