// Steps back beyond the kept frames go through the show's kept states: the
// frames they reach, and every frame made on from there, are the frames the
// show made playing straight on from the jump (picture, back buffer, time,
// music position and panel), in the scenes whose pictures build up frame by
// frame, across scene changes and the effects' swap at 17:16, and at the
// show's end, and after a "stop" row that ends the show early.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/golden_frames.h"
#include "study/study_panel.h"
#include "study_rig.h"
#include "show/builtin_show.h"
#include "show/demo_script.h"

namespace {

using namespace studytest;

// Everything the window shows of a frame, but the pause and end flags.
struct Seen {
    uint64_t backBuffer = 0, picture = 0;
    int32_t timeMs = 0;
    SongPosition position;
    std::string panel;
    bool operator==(const Seen&) const = default;
};

void PrintTo(const Seen& seen, std::ostream* out) {
    *out << formatSongPosition(seen.position) << " " << seen.timeMs << " ms " << seen.panel;
}

Seen see(StudySession& session) {
    Seen seen;
    Fnv1a64 back, picture;
    if (const uint16_t* pixels = session.backBuffer()) back.add({pixels, kScreenPixels});
    const PictureSurface& shown = session.picture();
    picture.add({shown.pixels(), static_cast<std::size_t>(shown.width() * shown.height())});
    seen.backBuffer = back.value();
    seen.picture = picture.value();
    seen.timeMs = session.timeMs();
    seen.position = session.position();
    const StudyPanel panel = describeFrame(session);
    seen.panel = panel.effect + " " + panel.blitMode + " " + std::to_string(panel.control);
    for (const PanelTrack& track : panel.tracks)
        seen.panel += " " + track.name + "=" + std::to_string(track.value) + " " + track.mode + " " + track.loopmode;
    for (const std::string& row : panel.rows) seen.panel += " | " + row;
    return seen;
}

// Paused at `from` with one frame kept, so that every step back goes
// through a kept state (one every `snapshotEvery` frames); the frames seen
// playing straight on.
struct SnapshotRig {
    fakes::FakeClock clock;
    fakes::FakeDialogs dialogs;
    StudySession session;
    std::vector<Seen> straight;
    SnapshotRig(SongPosition from, long frames, std::span<const ScriptEntry> script = demoScript(),
                long snapshotEvery = StudySession::kSnapshotFrames)
        : session(builtInShow().withScript(script), timeline(), Orientation::Landscape, clock, dialogs) {
        session.setPaused(true);
        session.setSnapshotFrames(snapshotEvery);
        EXPECT_TRUE(session.jumpTo(from));
        session.setHistoryFrames(1);
        straight.push_back(see(session));
        while (static_cast<long>(straight.size()) <= frames && session.stepForward()) straight.push_back(see(session));
    }
    long newest() const { return static_cast<long>(straight.size()) - 1; }
    // Steps back to `target` and checks the frame there.
    void backTo(long target) {
        SCOPED_TRACE("back to frame " + std::to_string(target));
        ASSERT_LT(target, session.frame());
        ASSERT_TRUE(session.stepBack(session.frame() - target));
        ASSERT_EQ(session.frame(), target);
        EXPECT_EQ(see(session), straight[static_cast<std::size_t>(target)]);
    }
    // Steps on to the newest frame, checking every frame on the way.
    void onToTheNewest() {
        while (session.frame() < newest()) {
            ASSERT_TRUE(session.stepForward());
            ASSERT_EQ(see(session), straight[static_cast<std::size_t>(session.frame())])
                << "frame " << session.frame();
        }
    }
};

// The frames where the effect shown changes.
std::vector<long> sceneChanges(const std::vector<Seen>& frames) {
    std::vector<long> changes;
    for (std::size_t k = 1; k < frames.size(); ++k)
        if (frames[k].panel.substr(0, frames[k].panel.find(' ')) !=
            frames[k - 1].panel.substr(0, frames[k - 1].panel.find(' ')))
            changes.push_back(static_cast<long>(k));
    return changes;
}

TEST(StudySnapshots, StepsBackThroughKeptStatesGiveTheFramesOfTheStraightPlay) {
    constexpr long kEvery = StudySession::kSnapshotFrames;
    const struct {
        SongPosition from;
        long frames;
    } cases[] = {
        {{0, 0}, 4 * kEvery},    // motion blur over the opening, the globe comes in
        {{16, 0}, 11 * kEvery},  // the landscape's camera, the swap at 17:16, the shaft at 18:0
        {{21, 0}, 5 * kEvery},   // the pole's scroller into the fractal zoom
        {{27, 0}, 7 * kEvery},   // the typewriter's motion blur into the water's heights
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(formatSongPosition(c.from));
        SnapshotRig rig(c.from, c.frames);
        ASSERT_EQ(rig.newest(), c.frames);
        // Around every scene change, and at, just after and just before the
        // kept states (the last needs the longest replay), latest first.
        std::vector<long> targets;
        for (const long change : sceneChanges(rig.straight))
            for (const long k : {change - 1, change, change + 1}) targets.push_back(k);
        for (long k = 0; k < c.frames; k += kEvery)
            for (const long d : {0L, 1L, kEvery - 1}) targets.push_back(k + d);
        std::sort(targets.begin(), targets.end(), std::greater<>());
        targets.erase(std::unique(targets.begin(), targets.end()), targets.end());
        EXPECT_GE(targets.size(), 3u * static_cast<std::size_t>(c.frames / kEvery));
        for (const long target : targets)
            if (target >= 0 && target < rig.session.frame()) rig.backTo(target);
        // On from the jump: every frame made again.
        rig.onToTheNewest();
    }
}

TEST(StudySnapshots, StatesKeptMoreOftenNearTheFrameShownShortenTheReplays) {
    constexpr long kEvery = 12, kFrames = 8 * StudySession::kSnapshotFrames;
    SnapshotRig rig({20, 0}, kFrames, demoScript(), kEvery);
    ASSERT_EQ(rig.newest(), kFrames);
    const auto replayed = [&](long target) {
        const long made = rig.session.framesMade();
        rig.backTo(target);
        return rig.session.framesMade() - made;
    };
    EXPECT_LT(replayed(kFrames - 5), kEvery);
    // The states far from there have been let go, but those every
    // kSnapshotFrames frames; a replay through a stretch keeps its states again.
    EXPECT_GT(replayed(4 * kEvery - 1), kEvery);
    EXPECT_LT(replayed(4 * kEvery - 2), kEvery);
    rig.onToTheNewest();
}

TEST(StudySnapshots, TheShowsEndIsReachedAgainAfterASteppingBack) {
    SnapshotRig rig({34, 0}, 1000);
    ASSERT_TRUE(rig.session.ended());
    ASSERT_LT(rig.newest(), 1000);
    rig.backTo(StudySession::kSnapshotFrames + 7);
    EXPECT_FALSE(rig.session.ended());
    rig.onToTheNewest();
    EXPECT_FALSE(rig.session.stepForward());
    EXPECT_TRUE(rig.session.ended());
}

TEST(StudySnapshots, AShowThatHasStoppedStepsBackThroughItsKeptStates) {
    // The show's rows up to 10:0, where it stops.
    std::vector<ScriptEntry> script;
    for (const ScriptEntry& entry : demoScript())
        if (entry.position() < SongPosition{10, 0}) script.push_back(entry);
    script.push_back({10, 0, "demosys", "stop", nullptr});
    SnapshotRig rig({9, 0}, 10000, script);
    ASSERT_TRUE(rig.session.ended());
    ASSERT_FALSE(rig.session.demo()->running());
    ASSERT_GT(rig.newest(), 3 * StudySession::kSnapshotFrames);
    // From the state kept at frame 2 kSnapshotFrames, as before the stop.
    const long made = rig.session.framesMade();
    rig.backTo(2 * StudySession::kSnapshotFrames + 5);
    EXPECT_EQ(rig.session.framesMade() - made, 5);
    rig.onToTheNewest();
    EXPECT_FALSE(rig.session.stepForward());
    EXPECT_TRUE(rig.session.ended());
    EXPECT_FALSE(rig.session.demo()->running());
}

}  // namespace
