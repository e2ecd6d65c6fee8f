// Rendering ranges of the show offline: the same range twice gives the same
// bytes, a range gives as many frames as its duration holds and exactly its
// duration of sound, and a show started part-way in stands where it would
// have stood.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>

#include "show/builtin_show.h"
#include "app/timeline.h"
#include "effects/logoefu.h"
#include "offline/frame_files.h"
#include "offline/offline_render.h"
#include "present/blitter.h"
#include "support/fakes.h"
#include "support/png.h"
#include "show/demo_script.h"

namespace {

namespace fs = std::filesystem;

std::string readFile(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

uint32_t littleEndian32(const std::string& bytes, std::size_t at) {
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = value << 8 | static_cast<uint8_t>(bytes[at + i]);
    return value;
}

SongTimeline& timeline() {
    static SongTimeline loaded;
    static const bool ready = loaded.loadModuleOf(*builtInShow().assets);
    EXPECT_TRUE(ready);
    return loaded;
}

OfflineSettings range(SongPosition from, SongPosition to, int fps) {
    OfflineSettings settings(builtInShow());
    settings.fps = fps;
    settings.start = planStart(timeline(), demoScript(), from);
    settings.endMs = timeline().timeAt(to);
    return settings;
}

// Renders into a fresh folder under the test output; the folder.
fs::path renderFolder(const std::string& name, const OfflineSettings& settings) {
    const fs::path folder = fs::path(testpng::outputDir()) / name;
    fs::remove_all(folder);
    std::ostringstream messages;
    const int status = renderShow({folder.string(), kDefaultVideoScale, settings}, messages, false);
    EXPECT_EQ(status, 0) << messages.str();
    return folder;
}

long countFrames(const fs::path& folder) {
    long frames = 0;
    while (fs::exists(folder / FrameFiles::frameName(frames))) ++frames;
    return frames;
}

TEST(OfflineRender, TheSameRangeTwiceGivesTheSameBytes) {
    const OfflineSettings settings = range({5, 0}, {5, 16}, 10);  // 0.8 s
    const fs::path first = renderFolder("offline-same-1", settings);
    const fs::path second = renderFolder("offline-same-2", settings);
    ASSERT_EQ(countFrames(first), 8);
    ASSERT_EQ(countFrames(second), 8);
    for (long frame = 0; frame < 8; ++frame) {
        const std::string name = FrameFiles::frameName(frame);
        EXPECT_EQ(readFile(first / name), readFile(second / name)) << name;
    }
    const std::string audio = readFile(first / "audio.wav");
    EXPECT_EQ(audio, readFile(second / "audio.wav"));
    // Not silence: the music is there.
    EXPECT_NE(audio.substr(44).find_first_not_of('\0'), std::string::npos);
}

TEST(OfflineRender, ARangeHoldsTheFramesOfItsDurationAndExactlyItsSound) {
    // 4:0 to 4:64 lasts 3.2 s: at 15 fps 48 frames, at 7 fps 22.4, so 23.
    for (const auto& [fps, frames] : {std::pair{15, 48L}, std::pair{7, 23L}}) {
        const fs::path folder = renderFolder("offline-count-" + std::to_string(fps), range({4, 0}, {4, 64}, fps));
        EXPECT_EQ(countFrames(folder), frames) << fps << " fps";
        const std::string wav = readFile(folder / "audio.wav");
        ASSERT_GE(wav.size(), 44u);
        EXPECT_EQ(wav.substr(0, 4), "RIFF");
        EXPECT_EQ(littleEndian32(wav, 4), wav.size() - 8);
        EXPECT_EQ(littleEndian32(wav, 40), wav.size() - 44);
        EXPECT_EQ(wav.size() - 44, 3200u * 44100 / 1000 * 4) << fps << " fps";  // 16-bit stereo
    }
}

// A show whose second effect cannot be initialised: the render keeps the
// frames made before it, but says that it failed and does not exit with 0.
TEST(OfflineRender, AFailureShownPartWayIsNoSuccess) {
    static const ScriptEntry kScript[] = {
        {0, 0, "demosys", "seteffect", "a"},
        {0, 16, "demosys", "seteffect", "b"},
    };
    std::map<std::string, fakes::EffectRecord> effects;
    effects["b"].initResult = false;
    const std::vector<EffectMaker> makers = fakes::fakeEffects({"a", "b"}, effects);
    OfflineSettings settings = range({0, 0}, {1, 0}, 10);
    settings.show = builtInShow().withScript(kScript);
    settings.show.effects = &makers;
    RenderJob job{(fs::path(testpng::outputDir()) / "offline-failed").string(), kDefaultVideoScale, settings};
    fs::remove_all(job.out);
    std::ostringstream messages;
    EXPECT_EQ(renderShow(job, messages, false), 1);
    EXPECT_NE(messages.str().find("Initializing effect failed.\n"), std::string::npos) << messages.str();
    EXPECT_NE(messages.str().find("the show failed at order 0, row 1"), std::string::npos) << messages.str();
    EXPECT_EQ(countFrames(job.out), effects["a"].renders);
    EXPECT_GT(effects["a"].renders, 0);
}

// One render at a time per folder: a second one, while the first writes or
// after it, is refused (status 2) and writes nothing; the marker is gone
// once the first one ends.
TEST(OfflineRender, AFolderIsWrittenByOneRenderOnly) {
    const fs::path folder = fs::path(testpng::outputDir()) / "offline-claimed";
    fs::remove_all(folder);
    FrameFiles first;
    ASSERT_TRUE(first.open(folder.string(), 44100));
    ASSERT_TRUE(first.writeFrame(PictureSurface(Orientation::Landscape)));  // one that keeps no frame leaves nothing

    FrameFiles second;
    EXPECT_FALSE(second.open(folder.string(), 44100));
    EXPECT_TRUE(second.refused());
    EXPECT_NE(second.error().find("another render is writing to it"), std::string::npos) << second.error();
    std::ostringstream messages;
    EXPECT_EQ(renderShow({folder.string(), kDefaultVideoScale, range({5, 0}, {5, 4}, 10)}, messages, false), 2)
        << messages.str();
    EXPECT_NE(messages.str().find("another render is writing to it"), std::string::npos) << messages.str();
    EXPECT_EQ(countFrames(folder), 1);

    EXPECT_TRUE(first.finish());
    EXPECT_FALSE(fs::exists(folder / FrameFiles::kClaimName));
    FrameFiles later;
    EXPECT_FALSE(later.open(folder.string(), 44100));
    EXPECT_TRUE(later.refused());
    EXPECT_NE(later.error().find("not an empty folder"), std::string::npos) << later.error();
    EXPECT_EQ(readFile(folder / "audio.wav").size(), 44u);  // the first one's sound, untouched
}

TEST(OfflineShow, AStartPartWayInRunsTheEarlierRowsAtTheirOwnTimes) {
    fakes::FakeDialogs dialogs;
    OfflineShow show(range({5, 0}, {5, 16}, 60), dialogs);
    ASSERT_TRUE(show.start());
    ASSERT_TRUE(show.nextFrame());
    EXPECT_EQ(show.frameTime(), 32000);  // 5:0

    // The logo's scroll was restarted at 4:0, 6.4 s before: it stands 6.4 s
    // into its ramp, as in the whole show.
    auto* logo = dynamic_cast<LogoEffect*>(show.demo().find("logoefu"));
    ASSERT_NE(logo, nullptr);
    EXPECT_EQ(show.demo().currentEffect(), logo);
    EXPECT_EQ(logo->pos.start, 25600);
    ParamTrack reference;
    reference.applySettings(parseParamString("param=pos mode=linear loopmode=stop length=20300 value0=0 value1=65535"), 0);
    reference.evaluate(6400);
    EXPECT_EQ(logo->pos.current, reference.current);
    EXPECT_EQ(logo->pos.current, 65535 * 6400 / 20300);

    // The row at the start itself (the flash) runs with the first frame.
    auto* blitter = dynamic_cast<Blitter*>(show.demo().find("blitter"));
    ASSERT_NE(blitter, nullptr);
    EXPECT_EQ(blitter->mode, kBlitMul);
    EXPECT_EQ(blitter->control.start, 32000);
    EXPECT_EQ(blitter->control.current, 1024);
    EXPECT_TRUE(dialogs.messages.empty());
    show.finish();
}

}  // namespace
