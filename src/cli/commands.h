// The subcommands of `trk`. Each adds itself to the parser and, when it is
// the one chosen, stores its exit code in `exitCode`.
#pragma once

#include <CLI/CLI.hpp>

namespace cli {

void AddInfoCommand(CLI::App& app, int& exitCode);
void AddRenderCommand(CLI::App& app, int& exitCode);
void AddCarCommand(CLI::App& app, int& exitCode);

}  // namespace cli
