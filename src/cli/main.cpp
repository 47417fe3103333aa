#include <algorithm>
#include <iostream>
#include <iterator>
#include <string>
#include <string_view>

#include "cli/commands.h"
#include "cli/standard_output.h"
#include "platform/encoding.h"
#include "platform/standard_streams.h"
#include "platform/temporaries.h"

#ifndef TA_VERSION
#define TA_VERSION "unknown"
#endif

namespace {

int Run(int argc, char** argv) {
    CLI::App app{"trk: lists, draws and exports the track files of Velocitra (.trk).", "trk"};
    cli::UseToolHelp(app);
    app.require_subcommand(1, 1);
    app.set_version_flag("-V,--version", std::string("trk ") + TA_VERSION);
    app.footer(std::string("Run 'trk COMMAND --help' for a command's options and examples.\n\n") +
               cli::kExitCodesHelp);
    int exitCode = 0;
    std::string names;
    for (const cli::Command& command : cli::kCommands)
        names += (names.empty() ? "" : ", ") + std::string(command.name);
    // Only the command named first is described, when it is one: each takes
    // a few hundred microseconds at every start, a good part of drawing a
    // track. Help and versions without a command see them all.
    const std::string_view named = argc > 1 ? argv[1] : "";
    const auto isNamed = [named](const cli::Command& command) { return named == command.name; };
    const bool known = std::any_of(std::begin(cli::kCommands), std::end(cli::kCommands), isNamed);
    if (!known && !named.empty() && named.front() != '-') {
        std::cerr << "trk: unknown command '" << platform::TerminalText(named)
                  << "' (commands: " << names << ")\nRun 'trk --help' for more.\n";
        return 1;
    }
    for (const cli::Command& command : cli::kCommands)
        if (!known || isNamed(command)) command.add(app, exitCode);
    for (CLI::App* command : app.get_subcommands({})) command->group("Commands");
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        // Help and the version go to stdout with exit 0.
        if (error.get_exit_code() == 0) return app.exit(error);
        if (!known && dynamic_cast<const CLI::RequiredError*>(&error) != nullptr) {
            std::cerr << "trk: give a command (commands: " << names
                      << ")\nRun 'trk --help' for more.\n";
        } else {
            std::cerr << cli::UsageErrorText(error, known ? std::string(named) : "");
        }
        return 1;
    }
    return exitCode;
}

}  // namespace

int main(int argc, char** argv) {
    platform::UseUtf8Arguments(argc, argv);
    cli::GuardStandardStreams();
    platform::StopCleanlyOnSignals();
    int exitCode = 1;
    try {
        exitCode = Run(argc, argv);
    } catch (const std::exception& error) {
        // Out of memory, say: a message and exit code 1 rather than an abort.
        std::cerr << "trk: " << error.what() << '\n';
    } catch (...) {
        std::cerr << "trk: an unexpected failure\n";
    }
    // Output that never arrived is a failure, whatever the command did.
    return cli::FinishStandardOutput() ? exitCode : 1;
}
