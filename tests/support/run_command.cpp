#include "support/run_command.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

std::string Slurp(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

CommandResult RunCommand(const std::string& commandLine) {
    static int serial = 0;
    const auto base = std::filesystem::temp_directory_path() /
                      ("ta-run-" + std::to_string(::getpid()) + "-" + std::to_string(serial++));
    const std::string out = base.string() + ".out";
    const std::string err = base.string() + ".err";
    const int status =
        std::system((commandLine + " >'" + out + "' 2>'" + err + "' </dev/null").c_str());
    CommandResult result;
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.out = Slurp(out);
    result.err = Slurp(err);
    std::filesystem::remove(out);
    std::filesystem::remove(err);
    return result;
}

CommandResult RunTrk(const std::string& arguments) {
    return RunCommand(std::string("'") + TA_TRK_BINARY + "' " + arguments);
}
