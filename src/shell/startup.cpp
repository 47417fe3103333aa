#include "shell/startup.h"

#include <string>

#include "app/folder_memory.h"
#include "app/state.h"
#include "app/status_log.h"
#include "app/window_layout.h"
#include "platform/surface.h"
#include "platform/windowing.h"
#include "shell/dispatch.h"
#include "shell/keys.h"
#include "start/core.h"

namespace shell {
namespace {

void CreateControl(platform::Windowing& ui, const app::ControlLayout& c) {
    const app::Box& b = c.box;
    switch (c.kind) {
        case app::ControlLayout::Kind::kInfoBox:
            ui.CreateInfoBox(c.number, b.left, b.top, b.width, b.height);
            break;
        case app::ControlLayout::Kind::kStaticText:
            ui.CreateStaticText(c.number, b.left, b.top, b.width, b.height, c.text);
            break;
        case app::ControlLayout::Kind::kPicture:
            ui.CreatePictureControl(c.number, b.left, b.top, b.width, b.height);
            break;
        case app::ControlLayout::Kind::kButton:
            ui.CreateButton(c.number, b.left, b.top, b.width, b.height, c.text);
            break;
    }
}

}  // namespace

void StartUp() {
    platform::Windowing* ui = platform::CurrentWindowing();
    start::StartCore(ui);
    start::PrepareDrawing();
    if (ui) {
        const app::Box& w = app::kWindowBox;
        ui->OpenWindow(app::kMainWindow, w.left, w.top, w.width, w.height, app::kWindowTitle);
        for (const app::ControlLayout& control : app::kControls) CreateControl(*ui, control);
        for (const KeyBinding& binding : kKeyBindings) {
            ui->SetShortcut(binding.control, binding.key,
                            std::string(binding.what) + " (" + binding.keyName + ")");
        }
    }
    app::RecallTrackFolder();

    app::state.StatusMessage = "ready...";
    app::PostStatus();
}

int RunEventLoop() {
    while (!HandleEvent(platform::WaitEvent())) {
    }
    platform::FreeSurface();
    return 0;
}

}  // namespace shell
