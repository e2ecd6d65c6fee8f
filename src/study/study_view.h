#pragma once
// Study mode's window picture: the show's picture exactly as shown (never
// drawn over), the panel beside it (or under it, on a screen taller than
// wide), and at the foot the timeline: the scenes as named blocks on the
// song's time axis, the flash rows as ticks and a cursor at the frame shown.

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/show_definition.h"
#include "app/timeline.h"
#include "study/panel_font.h"
#include "study/study_panel.h"

class PictureSurface;
class StudySession;

// Where the parts lie. Beside (the desktop): the picture at the top left,
// the panel to its right, the timeline under both. Below (a phone held
// upright): the picture centred at the top, the panel under it, the
// timeline at the foot, narrow enough to be enlarged four times on a phone.
struct StudyLayout {
    static constexpr int kPanelWidth = 258, kPanelBelowHeight = 194, kTimelineHeight = 46;
    int pictureWidth = 0, pictureHeight = 0;
    bool panelBelow = false;
    int width() const { return panelBelow ? std::max(pictureWidth, kPanelWidth) : pictureWidth + kPanelWidth; }
    int height() const { return pictureHeight + (panelBelow ? kPanelBelowHeight : 0) + kTimelineHeight; }
    int pictureLeft() const { return panelBelow ? (width() - pictureWidth) / 2 : 0; }
    int panelLeft() const { return panelBelow ? 0 : pictureWidth; }
    int panelTop() const { return panelBelow ? pictureHeight : 0; }
    int panelWidth() const { return panelBelow ? width() : kPanelWidth; }
    int panelHeight() const { return panelBelow ? kPanelBelowHeight : pictureHeight; }
    int timelineTop() const { return height() - kTimelineHeight; }
};

class StudyView {
public:
    StudyView(SongTimeline& timeline, std::span<const ScriptEntry> script, int pictureWidth, int pictureHeight,
              bool panelBelow = false);

    const StudyLayout& layout() const { return layout_; }
    // Lays the parts out anew (the canvas changes size). A landscape picture
    // in an upright layout (240 x 320) is shown turned back upright, as the
    // handheld's portrait display showed it.
    void setLayout(const StudyLayout& layout);
    // Draws the whole window picture for the frame the session shows.
    void draw(StudySession& session);
    const StudyCanvas& canvas() const { return canvas_; }

    // The song time a click at (x, y) points at: inside the timeline only.
    std::optional<int32_t> clickTime(int x, int y) const;
    // Whether (x, y) lies on the show's picture.
    bool onPicture(int x, int y) const;
    // The script row (its place in the script) of the panel's "rows run
    // last" line at (x, y), as last drawn.
    std::optional<std::size_t> rowAt(int x, int y) const;
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
    void drawPicture(const PictureSurface& picture);
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
    struct RowPlace {
        int top;
        std::size_t row;
    };
    std::vector<RowPlace> rowPlaces_;  // the "rows run last" lines drawn, top down
    int noteTop_ = 0;                  // the note's band hides the rows from here down
};

// The flash rows of a script: the blitter's control set to start above 256,
// a picture brighter than plain.
std::vector<int32_t> flashRowTimes(SongTimeline& timeline, std::span<const ScriptEntry> script);
