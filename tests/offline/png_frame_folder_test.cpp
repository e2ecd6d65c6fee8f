// Folders of PNG frames: a render's folder (with its sound beside the frames)
// is checked frame by frame; folders that do not hold a clip, and a frame
// that cannot be decoded, are refused with a message that names the fault.
#include "offline/png_frame_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/png.h"

namespace {

namespace fs = std::filesystem;

std::string freshFolder(const std::string& name) {
    const fs::path folder = fs::path(testpng::outputDir()) / "safety" / name;
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder.string();
}

void writeFrame(const std::string& folder, int index, int width, int height, uint8_t level) {
    char name[16];
    std::snprintf(name, sizeof name, "%06d.png", index);
    const std::vector<uint8_t> rgb(std::size_t{3} * width * height, level);
    ASSERT_TRUE(testpng::writeRgb(folder + "/" + name, rgb, width, height));
}

std::string refusal(const std::string& folder) {
    FlashReport report;
    std::string error;
    EXPECT_FALSE(checkFrameFolder(folder, 60, report, error));
    return error;
}

TEST(PngFrameFolder, ChecksARendersFolderFrameByFrame) {
    const std::string folder = freshFolder("render");
    for (int frame = 0; frame < 120; ++frame)
        writeFrame(folder, frame, 24, 18, frame * 8 / 60 % 2 ? 255 : 0);  // 4 Hz
    std::ofstream(folder + "/audio.wav") << "RIFF";
    std::ofstream(folder + "/.hidden") << "x";
    FlashReport report;
    std::string error;
    ASSERT_TRUE(checkFrameFolder(folder, 60, report, error)) << error;
    EXPECT_EQ(report.frames, 120);
    EXPECT_EQ(report.worstWindow().general, 4);
}

TEST(PngFrameFolder, RefusesFoldersThatDoNotHoldAClip) {
    EXPECT_NE(refusal(freshFolder("empty")).find("no frames in"), std::string::npos);
    EXPECT_NE(refusal(freshFolder("missing") + "/nothing").find("cannot read the folder"), std::string::npos);

    const std::string one = freshFolder("one");
    writeFrame(one, 0, 24, 18, 0);
    EXPECT_NE(refusal(one).find("only one frame in"), std::string::npos);

    const std::string mixed = freshFolder("mixed");
    writeFrame(mixed, 0, 24, 18, 0);
    writeFrame(mixed, 1, 24, 18, 0);
    writeFrame(mixed, 2, 18, 24, 0);
    EXPECT_NE(refusal(mixed).find("000002.png' is 18 x 24, the frames before it 24 x 18"), std::string::npos);

    const std::string stray = freshFolder("stray");
    writeFrame(stray, 0, 24, 18, 0);
    writeFrame(stray, 1, 24, 18, 0);
    std::ofstream(stray + "/notes.txt") << "not a frame";
    EXPECT_NE(refusal(stray).find("notes.txt' is not a PNG picture"), std::string::npos);

    // A frame cut short after its header is found when it is decoded.
    const std::string cut = freshFolder("cut");
    writeFrame(cut, 0, 24, 18, 0);
    writeFrame(cut, 1, 24, 18, 0);
    fs::resize_file(cut + "/000001.png", 40);
    EXPECT_NE(refusal(cut).find("000001.png"), std::string::npos);
}

}  // namespace
