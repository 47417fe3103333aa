// The subcommands of `trk`. Each adds itself to the parser and, when it is
// the one chosen, stores its exit code in `exitCode`; kCommands lists them
// for main, which describes only the one it is given.
#pragma once

#include <CLI/CLI.hpp>
#include <string>

namespace cli {

// An empty path names no file: a usage error, not a file that cannot be read.
inline const CLI::Validator kNonEmptyPath(
    [](std::string& path) {
        return path.empty() ? std::string("an empty path names no file") : "";
    },
    "", "PATH");

// A whole number from `low` (0 or more) to `high`, written in decimal ("+2"
// is 2; bytes::ReadNumber reads it); the message says what was wanted.
CLI::Validator WholeNumber(int low, int high);

// What every command's help ends with.
extern const char* const kExitCodesHelp;

// Help as a new user reads it: each option's value named by what it is
// (its option_text: N, FILE, DIR), a positional shown by its own words,
// none of the parser's names for types, ranges and requirements. Set on
// `app` before its commands are added, which take it over.
void UseToolHelp(CLI::App& app);

// A usage error in the one form: "trk: what is wrong", then where to read
// more about `command` (empty: about trk itself).
std::string UsageErrorText(const CLI::ParseError& error, const std::string& command);

void AddInfoCommand(CLI::App& app, int& exitCode);
void AddRenderCommand(CLI::App& app, int& exitCode);
void AddCarCommand(CLI::App& app, int& exitCode);
void AddLapCommand(CLI::App& app, int& exitCode);
void AddCompareCommand(CLI::App& app, int& exitCode);
void AddGalleryCommand(CLI::App& app, int& exitCode);

struct Command {
    const char* name;
    void (*add)(CLI::App& app, int& exitCode);
};
inline constexpr Command kCommands[] = {
    {"info", AddInfoCommand}, {"render", AddRenderCommand},   {"car", AddCarCommand},
    {"lap", AddLapCommand},   {"compare", AddCompareCommand}, {"gallery", AddGalleryCommand},
};

}  // namespace cli
