// track-analyse: the desktop tool. `track-analyse [TRACK.trk]` opens the
// window, with that track loaded when one is given.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/window_layout.h"
#include "platform/desktop.h"
#include "platform/paths.h"
#include "platform/standard_streams.h"
#include "shell/command_line.h"
#include "shell/dispatch.h"
#include "shell/startup.h"

int main(int argc, char** argv) {
    platform::UseUtf8Arguments(argc, argv);
    const shell::CommandLine line =
        shell::ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    switch (line.action) {
        case shell::CommandLine::Action::kHelp:
            std::fputs(shell::HelpText().c_str(), stdout);
            return 0;
        case shell::CommandLine::Action::kVersion:
            std::fputs(shell::VersionText().c_str(), stdout);
            return 0;
        case shell::CommandLine::Action::kUsageError:
            std::fprintf(stderr, "track-analyse: %s\n%s\nTry 'track-analyse --help' for more.\n",
                         line.error.c_str(), shell::kUsageLine);
            return 1;
        case shell::CommandLine::Action::kRun:
            break;
    }

    auto ui = platform::OpenDesktop();
    if (!ui) {
        std::fputs(
            "track-analyse: no display to open the window on (DISPLAY unset or unreachable); "
            "use trk, the command-line tool, instead\n",
            stderr);
        return 1;
    }
    platform::UseWindowing(ui.get());
    ui->SetDropLoadButton(app::kLoadButton);
    shell::StartUp();

    // A track named on the command line (as "open with" passes it) loads as
    // if it had been chosen in the first open dialog.
    if (!line.track.empty()) {
        std::error_code error;
        const std::filesystem::path path =
            std::filesystem::absolute(platform::FsPath(line.track), error);
        ui->PreAnswerOpenDialog(error ? line.track : platform::PathText(path.lexically_normal()));
        shell::RunButton(app::kLoadButton);
    }

    const int exitCode = shell::RunEventLoop();
    platform::UseWindowing(nullptr);
    return exitCode;
}
