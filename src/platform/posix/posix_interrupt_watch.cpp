// InterruptWatch over POSIX signals: SIGINT, SIGTERM and SIGHUP (the
// terminal closed) set a flag, SIGPIPE is ignored. SignalsEndProgram makes
// the three end the program (and the programs it started) for a while.
#include "platform/interrupt_watch.h"

#include <csignal>
#include <cstring>
#include <iterator>
#include <fcntl.h>
#include <unistd.h>

namespace {

volatile std::sig_atomic_t interrupted = 0;

void onInterrupt(int) { interrupted = 1; }

// Ctrl-C, a request to terminate, the terminal closing.
constexpr int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP};
using SavedActions = struct sigaction[std::size(kStopSignals)];

void handleStopSignals(void (*handler)(int), SavedActions& saved) {
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    for (std::size_t i = 0; i < std::size(kStopSignals); ++i) sigaction(kStopSignals[i], &action, &saved[i]);
}

void restoreStopSignals(const SavedActions& saved) {
    for (std::size_t i = 0; i < std::size(kStopSignals); ++i) sigaction(kStopSignals[i], &saved[i], nullptr);
}

SavedActions watchedBefore{};
struct sigaction pipeBefore {};

}  // namespace

InterruptWatch::InterruptWatch() {
    interrupted = 0;
    handleStopSignals(onInterrupt, watchedBefore);
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    sigaction(SIGPIPE, &ignore, &pipeBefore);
}

InterruptWatch::~InterruptWatch() {
    restoreStopSignals(watchedBefore);
    sigaction(SIGPIPE, &pipeBefore, nullptr);
}

bool InterruptWatch::requested() const { return interrupted != 0; }

namespace {

SavedActions endingBefore{};

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

SignalsEndProgram::SignalsEndProgram() { handleStopSignals(endChildrenThenSelf, endingBefore); }

SignalsEndProgram::~SignalsEndProgram() { restoreStopSignals(endingBefore); }
