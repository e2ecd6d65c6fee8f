// InterruptWatch over the Windows console: Ctrl-C, Ctrl-Break, the console
// window's close button, log-off and shut-down set a flag. A write to a pipe
// whose reader has gone fails by itself on Windows.
#include "platform/interrupt_watch.h"

#include <windows.h>

#include <atomic>
#include <csignal>

namespace {

std::atomic<bool> interrupted{false};
std::atomic<bool> watching{false};
// Signalled when a watch ends. Made once and never closed, so a handler that
// runs late never waits on a freed handle.
const HANDLE watchEnded = CreateEventW(nullptr, TRUE, TRUE, nullptr);

BOOL WINAPI onConsoleEvent(DWORD event) {
    interrupted = true;
    if (event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT) return TRUE;
    // The system ends the process when the handler of a close, log-off or
    // shut-down returns (and after about five seconds in any case): wait for
    // the job to stop after its step and close its files first.
    if (watching && watchEnded) WaitForSingleObject(watchEnded, 4500);
    return TRUE;
}

}  // namespace

InterruptWatch::InterruptWatch() {
    interrupted = false;
    if (watchEnded) ResetEvent(watchEnded);
    watching = true;
    SetConsoleCtrlHandler(onConsoleEvent, TRUE);
}

InterruptWatch::~InterruptWatch() {
    watching = false;
    if (watchEnded) SetEvent(watchEnded);
    SetConsoleCtrlHandler(onConsoleEvent, FALSE);
}

bool InterruptWatch::requested() const { return interrupted.load(); }

// The window library catches SIGINT and SIGTERM through the C runtime;
// while the box is open they go back to the runtime's default, which ends
// the process. The box is the system's own window in this process, so
// there is no other program to end with it.
namespace {

using SignalHandler = void (*)(int);
SignalHandler interruptBefore = SIG_DFL, terminateBefore = SIG_DFL;

}  // namespace

SignalsEndProgram::SignalsEndProgram() {
    interruptBefore = std::signal(SIGINT, SIG_DFL);
    terminateBefore = std::signal(SIGTERM, SIG_DFL);
}

SignalsEndProgram::~SignalsEndProgram() {
    std::signal(SIGINT, interruptBefore);
    std::signal(SIGTERM, terminateBefore);
}
