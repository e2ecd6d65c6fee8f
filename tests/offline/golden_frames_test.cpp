// The whole show rendered offline against the checked-in golden list
// (tests/golden/show_frames.txt): every recorded frame's digests and the
// sound's must match. On a mismatch the first differing frame, and the last
// recorded frame before it that still matched, land as PNG pictures in
// test-output/golden to be looked at. zemra-golden --refresh rewrites the
// list when a change to the picture is meant.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "app/golden_frames.h"
#include "show/script_check.h"
#include "engine/back_buffer.h"
#include "support/fakes.h"
#include "support/png.h"
#include "show/builtin_show.h"
#include "show/demo_script.h"
#include "show/flash_seconds.h"

namespace {

// A recorded frame's two pictures, kept to be written out later.
struct FramePictures {
    FrameDigest digest;
    std::vector<uint16_t> effect, shown;
    int width = 0, height = 0;

    void take(const FrameDigest& frame, OfflineShow& show) {
        digest = frame;
        const uint16_t* backBuffer = show.demo().backBuffer();
        effect.assign(backBuffer, backBuffer + kScreenPixels);
        const PictureSurface& picture = show.picture();
        width = picture.width();
        height = picture.height();
        shown.assign(picture.pixels(), picture.pixels() + static_cast<std::size_t>(width) * height);
    }
    void write(const std::string& folder, const std::string& what) const {
        const std::string name = folder + "/" + std::to_string(digest.frame) + "_" +
                                 std::to_string(digest.position.order) + "_" + std::to_string(digest.position.row) +
                                 "_" + what;
        testpng::writeRgb565(name + "_shown.png", shown.data(), width, height);
        testpng::writeLandscape(name + "_effect.png", effect.data());
    }
};

TEST(GoldenFrames, TheWholeShowMatchesTheList) {
    std::ifstream file(ZEMRA_GOLDEN_FILE, std::ios::binary);
    ASSERT_TRUE(file) << "cannot read " << ZEMRA_GOLDEN_FILE;
    ShowDigests expected;
    std::string error;
    ASSERT_TRUE(parseGoldenText(std::string{std::istreambuf_iterator<char>(file), {}}, expected, error)) << error;
    std::map<long, const FrameDigest*> expectedFrames;
    for (const FrameDigest& frame : expected.frames) expectedFrames[frame.frame] = &frame;

    const std::string folder = testpng::outputDir() + "/golden";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    FramePictures lastMatch, differing;
    bool matched = false, differed = false;
    ShowDigests actual;
    actual.fps = expected.fps;
    actual.every = expected.every;
    fakes::FakeDialogs dialogs;
    const bool played = recordShow(builtInShow(), actual, dialogs, [&](const FrameDigest& frame, OfflineShow& show) {
        if (differed) return;
        const auto match = expectedFrames.find(frame.frame);
        if (match != expectedFrames.end() && *match->second == frame) {
            lastMatch.take(frame, show);
            matched = true;
            return;
        }
        differing.take(frame, show);
        differed = true;
    });
    ASSERT_TRUE(played) << (dialogs.messages.empty() ? "" : dialogs.messages.front());

    if (differed) {
        differing.write(folder, "differs");
        if (matched) lastMatch.write(folder, "last_match");
    }
    const FrameDigest* first = firstDifference(expected, actual);
    if (first)
        ADD_FAILURE() << "the first differing frame is at " << framePlace(*first) << "; its pictures"
                      << (matched ? " and those of the last matching frame" : "") << " are in " << folder << "\n"
                      << describeChanges(expected, actual);
    EXPECT_EQ(actual.soundFrames, expected.soundFrames);
    EXPECT_EQ(actual.sound, expected.sound) << "the sound differs";
}

ShowDigests readGolden(const char* path) {
    std::ifstream file(path, std::ios::binary);
    ShowDigests list;
    std::string error;
    EXPECT_TRUE(parseGoldenText(std::string{std::istreambuf_iterator<char>(file), {}}, list, error)) << path << ": " << error;
    return list;
}

// The gentle show passes the flash check and matches its own list; where
// its limiter does not soften, it is the show's own picture, and the show
// behind it (the effects' frames) is the same everywhere.
TEST(GoldenFrames, TheGentleShowPassesAndKeepsTheCalmFrames) {
    const ShowDigests normal = readGolden(ZEMRA_GOLDEN_FILE);
    const ShowDigests expected = readGolden(ZEMRA_GENTLE_GOLDEN_FILE);
    EXPECT_NE(normal.flashing, "none") << "the show itself flashes; its list says where";
    std::map<long, const FrameDigest*> own;
    for (const FrameDigest& frame : normal.frames) own[frame.frame] = &frame;

    ShowDefinition gentle = builtInShow();
    gentle.gentle = true;
    ShowDigests actual;
    actual.fps = expected.fps;
    actual.every = expected.every;
    long softened = 0, calmButChanged = 0, effectChanged = 0;
    fakes::FakeDialogs dialogs;
    ASSERT_TRUE(recordShow(gentle, actual, dialogs, [&](const FrameDigest& frame, OfflineShow& show) {
        const auto match = own.find(frame.frame);
        if (match == own.end()) return;
        effectChanged += frame.effect != match->second->effect;
        if (show.window().gentleDisplay()->softening())
            ++softened;
        else
            calmButChanged += frame.shown != match->second->shown;
    }));
    EXPECT_EQ(actual.flashing, "none");
    EXPECT_EQ(actual.extended, "none");
    EXPECT_EQ(effectChanged, 0);
    EXPECT_EQ(calmButChanged, 0);
    std::printf("the gentle show softens %ld of %zu recorded frames\n", softened, actual.frames.size());
    const FrameDigest* first = firstDifference(expected, actual);
    EXPECT_EQ(first, nullptr) << framePlace(*first) << "\n" << describeChanges(expected, actual);
}

// The seconds study mode's timeline marks are those the list's flash check names.
TEST(GoldenFrames, TheMarkedFlashingSecondsAreTheListsOnes) {
    std::string marked;
    for (const SecondRange& seconds : showFlashingSeconds()) {
        if (!marked.empty()) marked += ",";
        marked += std::to_string(seconds.first);
        if (seconds.last > seconds.first) marked += "-" + std::to_string(seconds.last);
    }
    EXPECT_EQ(marked.empty() ? "none" : marked, readGolden(ZEMRA_GOLDEN_FILE).flashing);
}

// The show's script dumped as text and read back (as --script reads a
// file) plays the same show: every digest of the list, and the sound.
TEST(GoldenFrames, TheDumpedScriptPlaysTheListedShow) {
    std::ifstream file(ZEMRA_GOLDEN_FILE, std::ios::binary);
    ShowDigests expected;
    std::string error;
    ASSERT_TRUE(parseGoldenText(std::string{std::istreambuf_iterator<char>(file), {}}, expected, error)) << error;
    SongTimeline timeline;
    ASSERT_TRUE(timeline.loadModuleOf(*builtInShow().assets));
    ScriptTable table;
    ScriptProblems problems;
    ASSERT_TRUE(loadScriptText(scriptText(demoScript()), timeline, table, problems));
    ASSERT_NE(table.rows().data(), demoScript().data());
    ShowDigests actual;
    actual.fps = expected.fps;
    actual.every = expected.every;
    actual.checkFlashes = false;  // the frames are the same: so are their flashes
    fakes::FakeDialogs dialogs;
    ASSERT_TRUE(recordShow(builtInShow().withScript(table.rows()), actual, dialogs));
    const FrameDigest* first = firstDifference(expected, actual);
    EXPECT_EQ(first, nullptr) << framePlace(*first) << "\n" << describeChanges(expected, actual);
    EXPECT_EQ(actual.sound, expected.sound);
}

// The list survives being written and read, and a change to one scene's
// frames is put down to that scene alone.
TEST(GoldenFrames, ChangesAreNamedByScene) {
    ShowDigests before;
    before.soundFrames = 44100;
    before.sound = 0x0123456789abcdefull;
    before.frames = {{0, {0, 0}, 0, "(none)", 1, 1},
                     {15, {0, 32}, 250, "worldefu", 2, 3},
                     {30, {4, 0}, 500, "logoefu", 0xfedcba9876543210ull, 5}};
    ShowDigests read;
    std::string error;
    ASSERT_TRUE(parseGoldenText(goldenText(before), read, error)) << error;
    EXPECT_EQ(read.frames, before.frames);
    EXPECT_EQ(read.sound, before.sound);
    EXPECT_EQ(describeChanges(before, read), "");
    EXPECT_EQ(firstDifference(before, read), nullptr);

    ShowDigests after = before;
    after.frames[2].shown = 6;
    EXPECT_EQ(describeChanges(before, after), "logoefu: 1 of 1 frames differ, the first at 4:0 (0:00.500, frame 30)\n");
    EXPECT_EQ(firstDifference(before, after), &after.frames[2]);
    after.frames.pop_back();  // a show that ends sooner differs too
    EXPECT_EQ(firstDifference(before, after), &before.frames[2]);
    after.sound = 0;
    EXPECT_NE(describeChanges(before, after).find("sound: differs"), std::string::npos);

    EXPECT_FALSE(parseGoldenText("fps 60 every 15\n0:0 0 (none) 0 1 2\n", read, error));  // digests are 16 digits
    EXPECT_FALSE(parseGoldenText("0:0 0 (none) 0 0000000000000001 0000000000000002\n", read, error));  // no header
}

}  // namespace
