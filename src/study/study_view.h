#pragma once
// Study mode's window picture: the show's picture at the top left exactly
// as shown (never drawn over), the panel to its right, and under both the
// timeline: the scenes as named blocks on the song's time axis, the flash
// rows as ticks and a cursor at the frame shown.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/show_definition.h"
#include "app/timeline.h"
#include "study/panel_font.h"
#include "study/study_panel.h"

class StudySession;

struct StudyLayout {
    static constexpr int kPanelWidth = 258, kTimelineHeight = 46;
    int pictureWidth = 0, pictureHeight = 0;
    int width() const { return pictureWidth + kPanelWidth; }
    int height() const { return pictureHeight + kTimelineHeight; }
    int timelineTop() const { return pictureHeight; }
};

class StudyView {
public:
    StudyView(SongTimeline& timeline, std::span<const ScriptEntry> script, int pictureWidth, int pictureHeight);

    const StudyLayout& layout() const { return layout_; }
    // Draws the whole window picture for the frame the session shows.
    void draw(StudySession& session);
    const StudyCanvas& canvas() const { return canvas_; }

    // The song time a click at (x, y) points at: inside the timeline only.
    std::optional<int32_t> clickTime(int x, int y) const;
    // The x of a song time on the timeline.
    int timelineX(int32_t ms) const;

    // The scenes and flash rows of another script on the timeline (its
    // flashing seconds are not known).
    void useScript(SongTimeline& timeline, std::span<const ScriptEntry> script);
    // The seconds of the show that flash more than three times, marked
    // under the scenes.
    void setFlashingSeconds(std::span<const SecondRange> seconds) { flashing_.assign(seconds.begin(), seconds.end()); }
    // A note at the foot of the panel (empty: none); a problem stands out.
    void setNote(std::string text, bool problem);
    const std::string& note() const { return note_; }

    const std::vector<Scene>& scenes() const { return scenes_; }
    const std::vector<int32_t>& flashTimes() const { return flashes_; }

private:
    void drawPanel(const StudyPanel& panel);
    void drawTimeline(int32_t nowMs);
    void drawNote();

    StudyLayout layout_;
    StudyCanvas canvas_;
    int32_t lengthMs_ = 1;
    std::vector<Scene> scenes_;
    std::vector<int32_t> flashes_;
    std::vector<SecondRange> flashing_;
    std::string note_;
    bool noteIsProblem_ = false;
};

// The flash rows of a script: the blitter's control set to start above 256,
// a picture brighter than plain.
std::vector<int32_t> flashRowTimes(SongTimeline& timeline, std::span<const ScriptEntry> script);
