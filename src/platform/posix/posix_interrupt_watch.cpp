// InterruptWatch over POSIX signals: SIGINT, SIGTERM and SIGHUP (the
// terminal closed) set a flag, SIGPIPE is ignored.
#include "platform/interrupt_watch.h"

#include <csignal>

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
