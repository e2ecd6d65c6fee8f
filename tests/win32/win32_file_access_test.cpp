// The offline output's file checks on Windows, with names beyond ASCII.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "platform/child_process.h"
#include "platform/file_access.h"

namespace {

namespace fs = std::filesystem;

fs::path utf8Path(const std::string& text) {
    return fs::path(std::u8string(reinterpret_cast<const char8_t*>(text.data()), text.size()));
}

TEST(Win32FileAccess, NewFilesAreMadeOnceAndLeaveNothingBehind) {
    const std::string folder = (fs::temp_directory_path() / "zemra-files-").string() +
                               std::to_string(currentProcessId()) + " \xc3\xa4\xe3\x83\x95";
    ASSERT_TRUE(fs::create_directories(utf8Path(folder)));
    EXPECT_TRUE(folderWritable(folder));
    EXPECT_FALSE(folderWritable(folder + "\\missing"));

    const std::string file = folder + "\\v\xc3\xad" "deo.mp4";
    EXPECT_EQ(tryCreateNewFile(file), "");
    EXPECT_FALSE(fs::exists(utf8Path(file)));
    EXPECT_FALSE(fileWritable(file));

    std::FILE* made = _wfopen(utf8Path(file).c_str(), L"wb");
    ASSERT_TRUE(made);
    std::fputs("0123456789", made);
    std::fflush(made);
    EXPECT_TRUE(truncateOpenFile(made, 4));
    std::fclose(made);
    EXPECT_EQ(fs::file_size(utf8Path(file)), 4u);
    EXPECT_TRUE(fileWritable(file));
    EXPECT_NE(tryCreateNewFile(file), "");  // it exists: the reason is said

    fs::permissions(utf8Path(file), fs::perms::owner_write, fs::perm_options::remove);
    EXPECT_FALSE(fileWritable(file));
    fs::permissions(utf8Path(file), fs::perms::owner_write, fs::perm_options::add);
    fs::remove_all(utf8Path(folder));
}

}  // namespace
