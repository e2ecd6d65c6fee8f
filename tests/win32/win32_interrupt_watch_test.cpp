// Ctrl-C on Windows while a watch lives: a request to stop, not the end of
// the program; after the watch the default handling is back.
#include <gtest/gtest.h>
#include <windows.h>

#include "platform/interrupt_watch.h"

namespace {

// Console events arrive on a thread of their own: wait for the flag a while.
bool stopRequestedSoon(const InterruptWatch& watch) {
    for (int i = 0; i < 200 && !watch.requested(); ++i) Sleep(10);
    return watch.requested();
}

TEST(Win32InterruptWatch, CtrlCAsksTheJobToStopEachTime) {
    // The events go to the processes of a console: this test needs its own.
    FreeConsole();
    ASSERT_TRUE(AllocConsole());
    {
        InterruptWatch watch;
        EXPECT_FALSE(watch.requested());
        ASSERT_TRUE(GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0));
        EXPECT_TRUE(stopRequestedSoon(watch));
    }
    {
        InterruptWatch watch;  // a new watch starts clear
        EXPECT_FALSE(watch.requested());
        ASSERT_TRUE(GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0));
        EXPECT_TRUE(stopRequestedSoon(watch));
    }
    FreeConsole();
}

}  // namespace
