// Messages reach the console and, where there is a display, the message box.
#include <gtest/gtest.h>

#include <sstream>

#include "app/user_messages.h"
#include "support/fakes.h"

namespace {

TEST(UserMessages, ShowsTheTextOnTheConsoleAndInTheBox) {
    std::ostringstream console;
    fakes::FakeDialogs box;
    UserMessages messages(&box, console);
    messages.showMessage("Loading effect failed.");
    EXPECT_EQ(console.str(), "Loading effect failed.\n");
    EXPECT_EQ(box.messages, std::vector<std::string>{"Loading effect failed."});
}

TEST(UserMessages, PointsToMuteWhenThereIsNoSound) {
    std::ostringstream console;
    UserMessages messages(nullptr, console);  // no display: the console only
    messages.showMessage("Initializing fmod failed.");
    EXPECT_EQ(console.str(),
              "Initializing fmod failed.\n"
              "No sound device could be opened; zemra --mute plays the show without sound.\n");
}

}  // namespace
