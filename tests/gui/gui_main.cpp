// The desktop tests run on an X server of their own: an Xvfb started here
// (-displayfd picks a free display without races), so that parallel test
// processes never meet. Without Xvfb they use the display they were given,
// and without either they are skipped.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "platform/fltk/fltk_windowing.h"

namespace {

constexpr int kSkipped = 77;  // CTest's SKIP_RETURN_CODE for these tests

pid_t StartXvfb() {
    int pipeFds[2];
    if (pipe(pipeFds) != 0) return -1;
    const pid_t pid = fork();
    if (pid < 0) return -1;
    if (pid == 0) {
        close(pipeFds[0]);
        const std::string fd = std::to_string(pipeFds[1]);
        const int devNull = ::open("/dev/null", O_WRONLY);
        if (devNull >= 0) dup2(devNull, STDERR_FILENO);
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x1024x24",
               "-nolisten", "tcp", "-noreset", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(pipeFds[1]);
    std::string number;
    char c;
    while (read(pipeFds[0], &c, 1) == 1 && c != '\n') number += c;
    close(pipeFds[0]);
    if (number.empty()) {
        waitpid(pid, nullptr, 0);
        return -1;
    }
    setenv("DISPLAY", (":" + number).c_str(), 1);
    return pid;
}

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (::testing::GTEST_FLAG(list_tests)) return RUN_ALL_TESTS();

    // The window remembers the last track folder in the user's state
    // folder; the tests keep theirs apart from the user's.
    char stateHome[] = "/tmp/ta-gui-state-XXXXXX";
    if (mkdtemp(stateHome)) setenv("XDG_STATE_HOME", stateHome, 1);

    const pid_t xvfb = StartXvfb();
    if (xvfb < 0 && !platform::OpenDisplay()) {
        std::puts("[  SKIPPED ] no Xvfb and no display for the desktop tests");
        return kSkipped;
    }
    const int result = RUN_ALL_TESTS();
    if (xvfb > 0) {
        kill(xvfb, SIGTERM);
        waitpid(xvfb, nullptr, 0);
    }
    std::filesystem::remove_all(stateHome);
    return result;
}
