// Starting other programs on Windows: the search beside the program and on
// the PATH, exit statuses, and input through the pipe.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/child_process.h"

namespace {

TEST(Win32ChildProcess, FindsProgramsOnThePathWithOrWithoutExtension) {
    EXPECT_TRUE(programOnPath("cmd"));
    EXPECT_TRUE(programOnPath("cmd.exe"));
    EXPECT_TRUE(programOnPath("CMD"));
    EXPECT_FALSE(programOnPath("zemra-no-such-program"));
    EXPECT_FALSE(startChildProcess({"zemra-no-such-program"}, true));
    EXPECT_FALSE(startChildProcess({}, false));
}

TEST(Win32ChildProcess, ReportsTheExitStatusOnce) {
    auto child = startChildProcess({"cmd", "/c", "exit 3"}, false);
    ASSERT_TRUE(child);
    EXPECT_EQ(child->wait(), 3);
    EXPECT_EQ(child->wait(), -1);
    // Without a pipe there is nothing to write to.
    EXPECT_FALSE(child->write("x", 1));
}

TEST(Win32ChildProcess, FeedsItsInputAndSeesTheEnd) {
    // cmd's "more" copies its input to the file once the input ends. The
    // file is named plainly: cmd does not follow the quoting rules of
    // other programs.
    const std::string copy = "zemra-child-" + std::to_string(currentProcessId()) + ".txt";
    auto child = startChildProcess({"cmd", "/c", "more", ">", copy}, true);
    ASSERT_TRUE(child);
    const std::string text = "frames\r\nand sound\r\n";
    EXPECT_TRUE(child->write(text.data(), text.size()));
    child->closeInput();
    EXPECT_EQ(child->wait(), 0);
    std::ifstream file(copy, std::ios::binary);
    const std::string got{std::istreambuf_iterator<char>(file), {}};
    EXPECT_NE(got.find("and sound"), std::string::npos) << got;
    file.close();
    std::filesystem::remove(copy);
}

TEST(Win32ChildProcess, WritesFailOnceTheProgramHasEnded) {
    auto child = startChildProcess({"cmd", "/c", "exit 0"}, true);
    ASSERT_TRUE(child);
    // Its end of the pipe closes when it ends: writing then fails instead of
    // blocking or ending this program.
    Sleep(200);
    std::string block(1 << 20, 'x');
    bool failed = false;
    for (int i = 0; i < 64 && !failed; ++i) failed = !child->write(block.data(), block.size());
    EXPECT_TRUE(failed);
    EXPECT_EQ(child->wait(), 0);
}

}  // namespace
