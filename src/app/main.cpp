// track-analyse: the desktop tool. `track-analyse [TRACK.trk]` opens the
// window, with that track loaded when one is given.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/dispatch.h"
#include "app/startup.h"
#include "platform/fltk/fltk_windowing.h"

int main(int argc, char** argv) {
    if (!platform::OpenDisplay()) {
        std::fputs(
            "track-analyse: no display to open the window on (DISPLAY unset or unreachable); "
            "use trk, the command-line tool, instead\n",
            stderr);
        return 1;
    }

    // FLTK's own file dialog instead of the system's (GTK's) one, for
    // scripted use: it can be driven by xdotool.
    const char* chooser = std::getenv("TRACK_ANALYSE_FILE_CHOOSER");
    platform::UseFileChooser(chooser && std::string(chooser) == "fltk"
                                 ? platform::FileChooserKind::kFltk
                                 : platform::FileChooserKind::kSystem);

    auto ui = platform::MakeFltkWindowing();
    platform::UseWindowing(ui.get());
    ui->SetDropLoadButton(app::kLoadButton);
    app::StartUp();

    // A track named on the command line (as "open with" passes it) loads as
    // if it had been chosen in the first open dialog.
    if (argc > 1) {
        std::error_code error;
        std::filesystem::path path = std::filesystem::absolute(argv[1], error);
        ui->PreAnswerOpenDialog(error ? std::string(argv[1]) : path.lexically_normal().string());
        app::RunButton(app::kLoadButton);
    }

    const int exitCode = app::RunEventLoop();
    platform::UseWindowing(nullptr);
    return exitCode;
}
