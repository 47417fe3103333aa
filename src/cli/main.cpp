#include <iostream>
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
    app.require_subcommand(1, 1);
    app.failure_message(CLI::FailureMessage::help);
    app.set_version_flag("-V,--version", std::string("trk ") + TA_VERSION);
    int exitCode = 0;
    // Only the command named first is described, when it is one: each takes
    // a few hundred microseconds at every start, a good part of drawing a
    // track. Help and versions without a command see them all.
    const std::string_view named = argc > 1 ? argv[1] : "";
    const bool all = named != "info" && named != "render" && named != "car";
    if (all || named == "info") cli::AddInfoCommand(app, exitCode);
    if (all || named == "render") cli::AddRenderCommand(app, exitCode);
    if (all || named == "car") cli::AddCarCommand(app, exitCode);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        // Help goes to stdout with exit 0; every usage error exits 1.
        return app.exit(error) == 0 ? 0 : 1;
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
