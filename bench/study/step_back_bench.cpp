// Study mode's step back: among the frames kept (a step, and the oldest
// kept), and further back than they reach, a minute of show after the jump
// and from the show's end after playing it whole from its start, and the
// longest replay from a kept state of the show.

#include <benchmark/benchmark.h>

#include "app/timeline.h"
#include "study/study_session.h"
#include "show/builtin_show.h"

namespace {

class StillClock : public Clock {
public:
    uint32_t ticks() override { return 0; }
    void sleep(uint32_t) override {}
};

class NoDialogs : public Dialogs {
public:
    void showMessage(const std::string&) override {}
};

SongTimeline& timeline() {
    static SongTimeline loaded;
    static const bool ready = loaded.loadModuleOf(*builtInShow().assets);
    (void)ready;
    return loaded;
}

constexpr long kSecond = StudySession::kFps;
constexpr long kMinute = 60 * kSecond;

// Paused at `from`, then stepped on `frames` frames (or to the show's end).
struct PlayedSession {
    StillClock clock;
    NoDialogs dialogs;
    StudySession session{builtInShow(), timeline(), Orientation::Landscape, clock, dialogs};
    long newest = 0;
    PlayedSession(SongPosition from, long frames) {
        session.setPaused(true);
        if (!session.jumpTo(from)) return;
        for (long i = 0; i < frames && session.stepForward(); ++i) {}
        newest = session.frame();
    }
};

// 23:0 and a minute on: 3:27 into the show's 3:37.
PlayedSession& aMinuteOn() {
    static PlayedSession played({23, 0}, kMinute);
    return played;
}

// The whole show from 0:0 to its last frame.
PlayedSession& theWholeShow() {
    static PlayedSession played({0, 0}, 1000 * kMinute);
    return played;
}

// Steps `frames` back (timed) and on again to the newest frame (not timed
// when the step back went beyond the kept frames).
void stepBackAndOn(benchmark::State& state, PlayedSession& played, long frames) {
    if (played.newest < frames) {
        state.SkipWithError("the show did not get that far");
        return;
    }
    const bool kept = frames < static_cast<long>(StudySession::kHistoryFrames);
    for (auto _ : state) {
        played.session.stepBack(frames);
        benchmark::DoNotOptimize(played.session.backBuffer());
        if (!kept) state.PauseTiming();
        while (played.session.frame() < played.newest && played.session.stepForward()) {}
        if (!kept) state.ResumeTiming();
    }
    if (played.session.frame() != played.newest) state.SkipWithError("did not come back to the newest frame");
}

void BM_StepBackOneFrame(benchmark::State& state) { stepBackAndOn(state, aMinuteOn(), 1); }
BENCHMARK(BM_StepBackOneFrame)->Unit(benchmark::kMillisecond);

void BM_StepBackToTheOldestKept(benchmark::State& state) {
    stepBackAndOn(state, aMinuteOn(), static_cast<long>(StudySession::kHistoryFrames) - 1);
}
BENCHMARK(BM_StepBackToTheOldestKept)->Unit(benchmark::kMillisecond);

// Beyond the kept frames, a minute after the jump: seconds back given in
// tenths, so that the targets fall at different places between two
// moments the show can go on from.
void BM_StepBackAMinuteAfterTheJump(benchmark::State& state) {
    stepBackAndOn(state, aMinuteOn(), state.range(0) * kSecond / 10);
}
BENCHMARK(BM_StepBackAMinuteAfterTheJump)
    ->Arg(51)->Arg(69)->Arg(300)->Arg(595)
    ->Unit(benchmark::kMillisecond)->Iterations(3);

// Beyond the kept frames at the end of the show played whole from its start.
void BM_StepBackFromTheShowsEnd(benchmark::State& state) {
    stepBackAndOn(state, theWholeShow(), state.range(0) * kSecond / 10);
}
BENCHMARK(BM_StepBackFromTheShowsEnd)
    ->Arg(51)->Arg(69)->Arg(600)->Arg(1800)->Arg(2150)
    ->Unit(benchmark::kMillisecond)->Iterations(3);

// The longest replay: to the frame just before a kept state, a number of
// seconds into the show (played whole, stepped back from its end).
void BM_StepBackToJustBeforeAKeptState(benchmark::State& state) {
    PlayedSession& played = theWholeShow();
    const long target = (state.range(0) * kSecond / StudySession::kSnapshotFrames) * StudySession::kSnapshotFrames - 1;
    stepBackAndOn(state, played, played.newest - target);
}
BENCHMARK(BM_StepBackToJustBeforeAKeptState)
    ->Arg(30)->Arg(106)->Arg(210)
    ->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
