// Runs a command line through the shell, capturing what it prints.
#pragma once

#include <string>

struct CommandResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// `arguments` is appended to the trk binary's path as it stands (quote it).
CommandResult RunTrk(const std::string& arguments);
CommandResult RunCommand(const std::string& commandLine);
