// InterruptWatch over POSIX signals: SIGINT, SIGTERM and SIGHUP (the
// terminal closed) set a flag, SIGPIPE is ignored. SignalsEndProgram makes
// the three end the program (and the programs it started) for a while.
#include "platform/interrupt_watch.h"

#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

volatile std::sig_atomic_t interrupted = 0;

void onInterrupt(int) { interrupted = 1; }

struct sigaction oldInterrupt {}, oldTerminate{}, oldHangUp{}, oldPipe{};

}  // namespace

InterruptWatch::InterruptWatch() {
    interrupted = 0;
    struct sigaction action {};
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, &oldInterrupt);
    sigaction(SIGTERM, &action, &oldTerminate);
    sigaction(SIGHUP, &action, &oldHangUp);
    action.sa_handler = SIG_IGN;
    sigaction(SIGPIPE, &action, &oldPipe);
}

InterruptWatch::~InterruptWatch() {
    sigaction(SIGINT, &oldInterrupt, nullptr);
    sigaction(SIGTERM, &oldTerminate, nullptr);
    sigaction(SIGHUP, &oldHangUp, nullptr);
    sigaction(SIGPIPE, &oldPipe, nullptr);
}

bool InterruptWatch::requested() const { return interrupted != 0; }

namespace {

struct sigaction heldInterrupt {}, heldTerminate{}, heldHangUp{};

// A box may be another program this one started and waits for (SDL runs
// zenity for it): it is sent the signal too, so that it does not stay on
// the screen. Only system calls here: the signal may come at any moment.
void endChildrenThenSelf(int signal) {
    char path[64] = "/proc/self/task/";
    long tid = static_cast<long>(getpid());  // the main thread, which shows the box
    char digits[24];
    int n = 0;
    do digits[n++] = static_cast<char>('0' + tid % 10); while ((tid /= 10) > 0);
    std::size_t at = std::strlen(path);
    while (n > 0) path[at++] = digits[--n];
    std::memcpy(path + at, "/children", 10);
    const int file = open(path, O_RDONLY | O_CLOEXEC);
    if (file >= 0) {
        char text[512];
        const ssize_t got = read(file, text, sizeof text - 1);
        close(file);
        long child = 0;
        for (ssize_t i = 0; i <= got; ++i) {
            if (i < got && text[i] >= '0' && text[i] <= '9') {
                child = child * 10 + (text[i] - '0');
            } else if (child > 0) {
                kill(static_cast<pid_t>(child), signal);
                child = 0;
            }
        }
    }
    std::signal(signal, SIG_DFL);
    raise(signal);
}

}  // namespace

SignalsEndProgram::SignalsEndProgram() {
    struct sigaction action {};
    action.sa_handler = endChildrenThenSelf;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, &heldInterrupt);
    sigaction(SIGTERM, &action, &heldTerminate);
    sigaction(SIGHUP, &action, &heldHangUp);
}

SignalsEndProgram::~SignalsEndProgram() {
    sigaction(SIGINT, &heldInterrupt, nullptr);
    sigaction(SIGTERM, &heldTerminate, nullptr);
    sigaction(SIGHUP, &heldHangUp, nullptr);
}
