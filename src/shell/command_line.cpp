#include "shell/command_line.h"

#include "shell/keys.h"

#ifndef TA_VERSION
#define TA_VERSION "unknown"
#endif

namespace shell {

CommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
    CommandLine line;
    bool options = true;
    for (const std::string& argument : arguments) {
        if (options && argument == "--") {
            options = false;
        } else if (options && (argument == "-h" || argument == "--help")) {
            return {CommandLine::Action::kHelp, "", ""};
        } else if (options && (argument == "-V" || argument == "--version")) {
            return {CommandLine::Action::kVersion, "", ""};
        } else if (options && argument.size() > 1 && argument[0] == '-') {
            return {CommandLine::Action::kUsageError, "", "unknown option '" + argument + "'"};
        } else if (!line.track.empty()) {
            return {CommandLine::Action::kUsageError, "", "only one track can be opened"};
        } else if (argument.empty()) {
            return {CommandLine::Action::kUsageError, "", "the track's name is empty"};
        } else {
            line.track = argument;
        }
    }
    return line;
}

std::string HelpText() {
    std::string text = std::string(kUsageLine) +
                       "\n"
                       "Open the window of Velocitra Track Analyse, with TRACK.trk loaded when "
                       "one is given.\n"
                       "\n"
                       "The window lists what a track of the racing game Velocitra holds and draws "
                       "its terrain map;\n"
                       "it draws the water, the objects and the ghost lap over the map, saves the "
                       "picture as JPEG\n"
                       "and writes any of the seven stored cars out as a .car file. The line under "
                       "the buttons\n"
                       "tells what lies under the mouse pointer. For archives of tracks, use trk.\n"
                       "\n"
                       "Options:\n"
                       "  -h, --help     display this help and exit\n"
                       "  -V, --version  output version information and exit\n"
                       "\n"
                       "Keys:\n";
    for (const KeyBinding& binding : kKeyBindings) {
        std::string name = binding.keyName;
        name.resize(8, ' ');
        text += "  " + name + binding.what + "\n";
    }
    text +=
        "\n"
        "The open dialog starts in the folder of the last track opened, which is remembered in\n"
        "$XDG_STATE_HOME/track-analyse (by default ~/.local/state/track-analyse).\n";
    return text;
}

std::string VersionText() {
    return std::string("track-analyse ") + TA_VERSION + "\n";
}

}  // namespace shell
