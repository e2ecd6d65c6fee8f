#include "study/study_view.h"

#include <cstdio>
#include <string_view>

#include "anim/param_track.h"
#include "platform/portable/picture_surface.h"
#include "study/study_session.h"

namespace {

constexpr uint32_t kPanelBack = 0xFF101418, kLabel = 0xFF8C96A0, kValue = 0xFFF0F0F0, kHeading = 0xFFE8C060;
constexpr uint32_t kPaused = 0xFFFF7060, kPlaying = 0xFF70E070;
constexpr uint32_t kTimelineBack = 0xFF080808, kIntro = 0xFF303030, kFlash = 0xFFFFFFFF, kCursor = 0xFFFF3030,
                   kFlashing = 0xFFFF9020;
constexpr uint32_t kSceneColours[2] = {0xFF2C4F7C, 0xFF2F6B4F};
constexpr uint32_t kCurrentScene = 0xFF5A86C0;
constexpr int kMargin = 6;

std::string format(const char* pattern, auto... values) {
    char text[96];
    std::snprintf(text, sizeof text, pattern, values...);
    return text;
}

}  // namespace

std::vector<int32_t> flashRowTimes(SongTimeline& timeline, std::span<const ScriptEntry> script) {
    std::vector<int32_t> times;
    for (const ScriptEntry& entry : script) {
        if (std::string_view(entry.target) != "blitter" || std::string_view(entry.command) != "setparam") continue;
        const ParamSettings settings = parseParamString(entry.argument ? entry.argument : "");
        if (settings.param == "control" && parseParamNumber(settings.value0) > 256)
            times.push_back(timeline.timeAt(entry.position()));
    }
    return times;
}

StudyView::StudyView(SongTimeline& timeline, std::span<const ScriptEntry> script, int pictureWidth, int pictureHeight,
                     bool panelBelow)
    : layout_{pictureWidth, pictureHeight, panelBelow},
      canvas_(layout_.width(), layout_.height()),
      lengthMs_(std::max(1, timeline.lengthMs())),
      scenes_(showScenes(timeline, script)),
      flashes_(flashRowTimes(timeline, script)) {}

void StudyView::setLayout(const StudyLayout& layout) {
    layout_ = layout;
    canvas_ = StudyCanvas(layout_.width(), layout_.height());
}

void StudyView::useScript(SongTimeline& timeline, std::span<const ScriptEntry> script) {
    scenes_ = showScenes(timeline, script);
    flashes_ = flashRowTimes(timeline, script);
    flashing_.clear();  // unknown for another script until it is checked
}

void StudyView::setNote(std::string text, bool problem) {
    note_ = std::move(text);
    noteIsProblem_ = problem;
}

int StudyView::timelineX(int32_t ms) const {
    return static_cast<int>(int64_t{std::clamp(ms, 0, lengthMs_)} * (canvas_.width - 1) / lengthMs_);
}

bool StudyView::onPicture(int x, int y) const {
    return x >= layout_.pictureLeft() && x < layout_.pictureLeft() + layout_.pictureWidth && y >= 0 &&
           y < layout_.pictureHeight;
}

std::optional<int32_t> StudyView::clickTime(int x, int y) const {
    if (y < layout_.timelineTop() || y >= canvas_.height || x < 0 || x >= canvas_.width) return std::nullopt;
    return static_cast<int32_t>(int64_t{x} * lengthMs_ / (canvas_.width - 1));
}

void StudyView::draw(StudySession& session) {
    drawPicture(session.picture());
    const StudyPanel panel = describeFrame(session);
    drawPanel(panel);
    drawNote();
    drawTimeline(panel.timeMs);
}

void StudyView::drawPicture(const PictureSurface& picture) {
    uint32_t* const origin = canvas_.pixels.data() + layout_.pictureLeft();
    const auto width = static_cast<std::size_t>(canvas_.width);
    if (picture.width() != layout_.pictureWidth && picture.width() == layout_.pictureHeight) {
        forEachUprightPixel(picture, [&](int x, int y, uint16_t pixel) { origin[y * width + x] = widenRgb565(pixel); });
        return;
    }
    for (int y = 0; y < picture.height(); ++y)
        widenRgb565(picture.pixels() + static_cast<std::size_t>(y) * picture.width(), origin + y * width,
                    picture.width());
}

// Over the foot of the panel, on a band of its own, wrapped to the panel's
// width in at most kNoteLines lines.
void StudyView::drawNote() {
    constexpr int kNoteLines = 4;
    noteTop_ = canvas_.height;
    if (note_.empty()) return;
    const int left = layout_.panelLeft() + kMargin, width = layout_.panelWidth() - 2 * kMargin;
    const std::size_t perLine = static_cast<std::size_t>(width / kCharAdvance);
    std::vector<std::string_view> lines;
    for (std::string_view rest = note_; !rest.empty() && lines.size() < kNoteLines;) {
        std::size_t cut = std::min(perLine, rest.size());
        if (cut < rest.size()) {
            const std::size_t blank = rest.substr(0, cut + 1).rfind(' ');
            if (blank != std::string_view::npos && blank > perLine / 2) cut = blank;
        }
        lines.push_back(rest.substr(0, cut));
        rest.remove_prefix(cut);
        while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
    }
    const int height = static_cast<int>(lines.size()) * kLineAdvance + kMargin;
    int y = layout_.panelTop() + layout_.panelHeight() - height;
    noteTop_ = y - kMargin / 2;
    canvas_.fill(layout_.panelLeft(), y - kMargin / 2, layout_.panelWidth(), height + kMargin / 2, kPanelBack);
    for (std::string_view line : lines) {
        drawPanelText(canvas_, left, y, line, noteIsProblem_ ? kPaused : kPlaying, width);
        y += kLineAdvance;
    }
}

// The rows that ran last as many as fit, the newest at the foot.
void StudyView::drawPanel(const StudyPanel& panel) {
    const int left = layout_.panelLeft(), x = left + kMargin, width = layout_.panelWidth() - 2 * kMargin;
    const int top = layout_.panelTop(), bottom = top + layout_.panelHeight();
    canvas_.fill(left, top, layout_.panelWidth(), layout_.panelHeight(), kPanelBack);
    int y = top + kMargin;
    auto line = [&](std::string_view label, const std::string& value, uint32_t colour = kValue) {
        const int after = drawPanelText(canvas_, x, y, label, kLabel, width);
        drawPanelText(canvas_, after, y, value, colour, x + width - after);
        y += kLineAdvance;
    };
    line("", format("%-7s %s", formatSongPosition(panel.position).c_str(), formatTime(panel.timeMs).c_str()));
    line("frame ", format("%ld from %s", panel.frame, formatSongPosition(panel.from).c_str()));
    line("", panel.ended ? "ENDED" : panel.paused ? "PAUSED" : "PLAYING", panel.paused || panel.ended ? kPaused : kPlaying);
    line("effect  ", panel.effect.empty() ? "(none)" : panel.effect);
    line("blitter ", panel.blitMode.empty() ? "(none)" : format("%s %d", panel.blitMode.c_str(), panel.control));
    y += kLineAdvance / 2;
    line("", "tracks", kHeading);
    if (panel.tracks.empty()) line("", "(none)", kLabel);
    for (const PanelTrack& track : panel.tracks)
        line(format("%-9s", track.name.c_str()),
             format("%6d %-7s %s", track.value, track.mode.c_str(), track.loopmode.c_str()));
    y += kLineAdvance / 2;
    line("", "rows run last", kHeading);
    const auto room = static_cast<std::size_t>(std::max(0, (bottom - y) / kLineAdvance));
    const std::size_t shown = std::min(room, panel.rows.size());
    rowPlaces_.clear();
    for (std::size_t i = panel.rows.size() - shown; i < panel.rows.size(); ++i) {
        rowPlaces_.push_back({y, panel.rowIndices[i]});
        line("", panel.rows[i]);
    }
}

std::optional<std::size_t> StudyView::rowAt(int x, int y) const {
    if (x < layout_.panelLeft() || x >= layout_.panelLeft() + layout_.panelWidth()) return std::nullopt;
    for (const RowPlace& place : rowPlaces_)
        if (y >= place.top && y < place.top + kLineAdvance && y < noteTop_) return place.row;
    return std::nullopt;
}

void StudyView::drawTimeline(int32_t nowMs) {
    const int top = layout_.timelineTop(), stripTop = top + 12, stripHeight = 18;
    canvas_.fill(0, top, canvas_.width, StudyLayout::kTimelineHeight, kTimelineBack);
    const int firstX = scenes_.empty() ? canvas_.width : timelineX(scenes_.front().startMs);
    canvas_.fill(0, stripTop, firstX, stripHeight, kIntro);
    for (std::size_t i = 0; i < scenes_.size(); ++i) {
        const int32_t endMs = i + 1 < scenes_.size() ? scenes_[i + 1].startMs : lengthMs_;
        const int from = timelineX(scenes_[i].startMs), to = timelineX(endMs);
        const bool current = nowMs >= scenes_[i].startMs && nowMs < endMs;
        canvas_.fill(from + 1, stripTop, to - from - 1, stripHeight, current ? kCurrentScene : kSceneColours[i % 2]);
        // Names alternate above and below the strip, so each may run on over
        // the next block; it stops before the next name on its side.
        const int labelEnd = i + 2 < scenes_.size() ? timelineX(scenes_[i + 2].startMs) - 2 : canvas_.width;
        const int labelY = i % 2 == 0 ? top + 2 : stripTop + stripHeight + 3;
        drawPanelText(canvas_, from + 1, labelY, scenes_[i].effect, current ? kValue : kLabel, labelEnd - from - 1);
    }
    for (int32_t flash : flashes_) canvas_.fill(timelineX(flash), stripTop, 1, 6, kFlash);
    // Seconds over three flashes: a red band along the strip's foot.
    for (const SecondRange& seconds : flashing_) {
        const int from = timelineX(seconds.first * 1000), to = timelineX((seconds.last + 1) * 1000);
        canvas_.fill(from, stripTop + stripHeight - 3, std::max(1, to - from), 3, kFlashing);
    }
    canvas_.fill(timelineX(nowMs) - 1, stripTop - 3, 3, stripHeight + 6, kCursor);
}
