// Study mode's step back, a minute of show after the jump and near the
// show's end: among the frames kept (a step, and the oldest kept), and the
// replay from the jump that a step further back still takes.

#include <benchmark/benchmark.h>

#include "app/timeline.h"
#include "study/study_session.h"

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
    static const bool ready = loaded.loadShowModule();
    (void)ready;
    return loaded;
}

constexpr long kMinute = 60 * StudySession::kFps;

// Paused at 23:0, then a minute of frames on: 3:27 into the show's 3:37.
struct PlayedSession {
    StillClock clock;
    NoDialogs dialogs;
    StudySession session{timeline(), Orientation::Landscape, clock, dialogs};
    explicit PlayedSession(benchmark::State& state) {
        session.setPaused(true);
        if (!session.jumpTo({23, 0})) state.SkipWithError("cannot start the show");
        for (long i = 0; i < kMinute; ++i)
            if (!session.stepForward()) state.SkipWithError("the show ended early");
    }
};

void stepBackAndOn(benchmark::State& state, long frames) {
    PlayedSession played(state);
    for (auto _ : state) {
        played.session.stepBack(frames);
        for (long i = 0; i < frames; ++i) played.session.stepForward();
        benchmark::DoNotOptimize(played.session.backBuffer());
    }
    if (played.session.frame() != kMinute) state.SkipWithError("did not come back to the newest frame");
}

void BM_StepBackOneFrame(benchmark::State& state) { stepBackAndOn(state, 1); }
BENCHMARK(BM_StepBackOneFrame)->Unit(benchmark::kMillisecond);

void BM_StepBackToTheOldestKept(benchmark::State& state) {
    stepBackAndOn(state, static_cast<long>(StudySession::kHistoryFrames) - 1);
}
BENCHMARK(BM_StepBackToTheOldestKept)->Unit(benchmark::kMillisecond);

// One frame further back than kept: the replay from the jump, as every step
// back took before the frames were kept.
void BM_StepBackPastTheKeptFrames(benchmark::State& state) {
    PlayedSession played(state);
    const long back = static_cast<long>(StudySession::kHistoryFrames);
    for (auto _ : state) {
        played.session.stepBack(back);
        state.PauseTiming();
        for (long i = 0; i < back; ++i) played.session.stepForward();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StepBackPastTheKeptFrames)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace
