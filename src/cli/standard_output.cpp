#include "cli/standard_output.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <streambuf>

#include "cli/messages.h"
#include "platform/standard_streams.h"

namespace cli {
namespace {

// Takes the place of a closed stdout: refuses every write and remembers one
// was tried, since a command that writes nothing may well run without stdout.
class ClosedOutput : public std::streambuf {
  public:
    bool tried = false;

  protected:
    int_type overflow(int_type /*c*/) override {
        tried = true;
        return traits_type::eof();
    }
    std::streamsize xsputn(const char* /*s*/, std::streamsize /*n*/) override {
        tried = true;
        return 0;
    }
};

// Never freed: std::cout may still flush into it while statics are destroyed.
ClosedOutput* closedOutput = nullptr;

}  // namespace

void GuardStandardStreams() {
    if (platform::PlugClosedStandardStreams()) {
        closedOutput = new ClosedOutput;
        std::cout.rdbuf(closedOutput);
    }
}

bool FinishStandardOutput() {
    std::cout.flush();
    int error = 0;
    if (closedOutput != nullptr) {
        if (closedOutput->tried) error = EBADF;
    } else if (std::fflush(stdout) != 0 || std::ferror(stdout) || std::cout.bad()) {
        error = errno != 0 ? errno : EIO;
    }
    if (error == 0) return true;
    std::cerr << FileLine("standard output", std::strerror(error));
    return false;
}

}  // namespace cli
