// A stop signal ends the program while its message box is open, even where
// the window library has taken the signals over, and ends a box shown by
// another program with it; before and after the box the signals are
// handled as they were; after a stop asked for earlier no box is shown.
// Each case runs in a child process.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <string>
#include <thread>

#include "desktop/signal_ending_box.h"

namespace {

void swallow(int) {}

// Takes the stop signals over as the window library does: they only note a quit.
void takeSignalsOver() {
    struct sigaction action {};
    action.sa_handler = swallow;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) sigaction(signal, &action, nullptr);
}

// A box that gets `signal` while open, then waits (at most five seconds) for a button nobody presses.
class SignalledBox : public Dialogs {
public:
    explicit SignalledBox(int signal) : signal_(signal) {}
    void showMessage(const std::string&) override {
        raise(signal_);
        for (int i = 0; i < 50; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }

private:
    int signal_;
};

// Runs `body` in a child process; its wait status.
int inChild(const std::function<void()>& body) {
    const pid_t child = fork();
    if (child == 0) {
        body();
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return status;
}

TEST(SignalEndingBox, AStopSignalEndsTheProgramWhileTheBoxIsOpen) {
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        const int status = inChild([signal] {
            const InterruptWatch stop;
            takeSignalsOver();
            SignalledBox box(signal);
            SignalEndingBox(box, stop).showMessage("Initializing fmod failed.");
        });
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << "signal " << signal << ", status " << status;
    }
    // Before and after the box, the signals are the window library's again.
    const int status = inChild([] {
        const InterruptWatch stop;
        takeSignalsOver();
        class PlainBox : public Dialogs {
            void showMessage(const std::string&) override {}
        } plain;
        SignalEndingBox(plain, stop).showMessage("a message");
        raise(SIGTERM);
    });
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;

    // A stop asked for during the start-up, before the box: not made to wait
    // for a second one (a box shown would get its signal and end the program).
    const int early = inChild([] {
        const InterruptWatch stop;
        raise(SIGTERM);
        SignalledBox box(SIGTERM);
        SignalEndingBox(box, stop).showMessage("Initializing fmod failed.");
    });
    EXPECT_TRUE(WIFEXITED(early) && WEXITSTATUS(early) == 0) << early;
}

bool running(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string pidText, name, state;
    return stat >> pidText >> name >> state && state != "Z";
}

TEST(SignalEndingBox, ABoxShownByAnotherProgramEndsWithIt) {
    int pipeEnds[2];
    ASSERT_EQ(pipe(pipeEnds), 0);
    const pid_t child = fork();
    if (child == 0) {
        takeSignalsOver();
        // The box: another program, waited for.
        class ProgramBox : public Dialogs {
        public:
            explicit ProgramBox(int report) : report_(report) {}
            void showMessage(const std::string&) override {
                const pid_t shown = fork();
                if (shown == 0) {
                    execlp("sleep", "sleep", "30", static_cast<char*>(nullptr));
                    _exit(127);
                }
                [[maybe_unused]] const ssize_t sent = write(report_, &shown, sizeof shown);
                waitpid(shown, nullptr, 0);
            }

        private:
            int report_;
        } box(pipeEnds[1]);
        const InterruptWatch stop;
        SignalEndingBox(box, stop).showMessage("Initializing fmod failed.");
        _exit(0);
    }
    close(pipeEnds[1]);
    pid_t shown = 0;
    ASSERT_EQ(read(pipeEnds[0], &shown, sizeof shown), static_cast<ssize_t>(sizeof shown));
    close(pipeEnds[0]);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));  // the box is waited for
    kill(child, SIGTERM);
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << status;
    for (int i = 0; i < 50 && running(shown); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_FALSE(running(shown)) << "the box's program is still there";
    if (running(shown)) kill(shown, SIGKILL);
}

}  // namespace
