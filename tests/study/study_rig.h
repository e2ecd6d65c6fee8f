#pragma once
// What the study tests share: the song's timeline, a study session over a
// clock that moves only when told, and the offline render's frames to
// compare with.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/timeline.h"
#include "app/offline_show.h"
#include "study/study_session.h"
#include "support/fakes.h"
#include "show/builtin_show.h"
#include "show/demo_script.h"

namespace studytest {

inline SongTimeline& timeline() {
    static SongTimeline loaded;
    static const bool ready = loaded.loadModuleOf(*builtInShow().assets);
    EXPECT_TRUE(ready);
    return loaded;
}

using Pixels = std::vector<uint16_t>;

inline Pixels copyOf(const uint16_t* backBuffer) {
    return backBuffer ? Pixels(backBuffer, backBuffer + kScreenPixels) : Pixels{};
}

// The back buffer of frame k of `zemra --render --start from`.
inline Pixels renderedFrame(SongPosition from, long k) {
    fakes::FakeDialogs dialogs;
    OfflineSettings settings(builtInShow());
    settings.start = planStart(timeline(), demoScript(), from);
    settings.endMs = timeline().lengthMs();
    OfflineShow show(settings, dialogs);
    EXPECT_TRUE(show.start());
    for (long i = 0; i <= k; ++i) EXPECT_TRUE(show.nextFrame());
    return copyOf(show.demo().backBuffer());
}

// The sound's cues, in order ("play 9:0 +0.500 near 9:10", "pause", "resume").
class RecordedSound : public SoundFollower {
public:
    std::vector<std::string> cues;
    void playFrom(SongPosition from, double seconds, SongPosition near) override {
        char text[64];
        std::snprintf(text, sizeof text, "play %s +%.3f near %s", formatSongPosition(from).c_str(), seconds,
                      formatSongPosition(near).c_str());
        cues.push_back(text);
    }
    void setPaused(bool paused) override { cues.push_back(paused ? "pause" : "resume"); }
};

struct Rig {
    fakes::FakeClock clock;
    fakes::FakeDialogs dialogs;
    RecordedSound sound;
    StudySession session{builtInShow(), timeline(), Orientation::Landscape, clock, dialogs, &sound};

    // Paused at position, its first frame drawn.
    explicit Rig(SongPosition position) {
        session.setPaused(true);
        EXPECT_TRUE(session.jumpTo(position));
    }
    Pixels frame() const { return copyOf(session.backBuffer()); }
};

}  // namespace studytest
