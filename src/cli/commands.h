// The subcommands of `trk`. Each adds itself to the parser and, when it is
// the one chosen, stores its exit code in `exitCode`.
#pragma once

#include <CLI/CLI.hpp>

namespace cli {

// An empty path names no file: a usage error, not a file that cannot be read.
inline const CLI::Validator kNonEmptyPath(
    [](std::string& path) {
        return path.empty() ? std::string("an empty path names no file") : "";
    },
    "", "PATH");

void AddInfoCommand(CLI::App& app, int& exitCode);
void AddRenderCommand(CLI::App& app, int& exitCode);
void AddCarCommand(CLI::App& app, int& exitCode);

}  // namespace cli
