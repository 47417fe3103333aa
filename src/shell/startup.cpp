#include "shell/startup.h"

#include <string>

#include "app/folder_memory.h"
#include "app/state.h"
#include "app/status_log.h"
#include "picture/picture.h"
#include "platform/surface.h"
#include "platform/windowing.h"
#include "shell/dispatch.h"
#include "shell/keys.h"
#include "start/core.h"
#include "track/track.h"

namespace app {

void StartUp() {
    platform::Windowing* ui = platform::CurrentWindowing();
    start::StartCore(ui);
    start::PrepareDrawing();
    if (ui) {
        ui->OpenWindow(kMainWindow, 10, 10, 1000, 720, "Velocitra Track Analyse");
        ui->CreateInfoBox(track::kInfoListControl, 10, 10, 400, 600);
        ui->CreateStaticText(kStatusLogControl, 10, 620, 400, 80, "");
        ui->CreatePictureControl(picture::kPictureControl, 450, 10, 512, 560);
        ui->CreateButton(kLoadButton, 450, 620, 50, 24, "load");
        ui->CreateButton(kWaterButton, 510, 620, 50, 24, "water");
        ui->CreateButton(kObjectsButton, 570, 620, 50, 24, "Objects");
        ui->CreateButton(kGhostButton, 630, 620, 50, 24, "Ghost");
        ui->CreateButton(kSaveButton, 690, 620, 50, 24, "save");
        ui->CreateButton(kCarButton, 780, 620, 50, 24, "Car");
        // Under the buttons, in the window's free corner.
        ui->CreateStaticText(kReadOutControl, 450, 652, 540, 40, "");

        for (const KeyBinding& binding : kKeyBindings) {
            ui->SetShortcut(binding.control, binding.key,
                            std::string(binding.what) + " (" + binding.keyName + ")");
        }
    }
    RecallTrackFolder();

    state.StatusMessage = "ready...";
    PostStatus();
}

int RunEventLoop() {
    while (!HandleEvent(platform::WaitEvent())) {
    }
    platform::FreeSurface();
    return 0;
}

}  // namespace app
