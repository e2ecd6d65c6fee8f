#include "safety/pattern_finder.h"

#include <algorithm>
#include <utility>

namespace flash {

namespace {

constexpr float kSwing = 0.1f, kDarkerBelow = 0.8f;
constexpr int kMorePairsThan = 5;

// The positions in [from, to) of a sorted list.
std::pair<std::vector<int>::const_iterator, std::vector<int>::const_iterator> within(const std::vector<int>& positions,
                                                                                     int from, int to) {
    return {std::lower_bound(positions.begin(), positions.end(), from),
            std::lower_bound(positions.begin(), positions.end(), to)};
}

}  // namespace

PatternFinder::PatternFinder(int pointsX, int pointsY, int cells) : cells_(cells), field_(cells / 3) {
    const std::size_t stretches = cells - field_ + 1;
    for (int cell = 0; cell < cells; ++cell) {
        const int row = (2 * cell + 1) * pointsY / (2 * cells), column = (2 * cell + 1) * pointsX / (2 * cells);
        rows_.push_back({row * pointsX, 1, pointsX, {}, {}, {}, std::vector<bool>(stretches), {}});
        columns_.push_back({column, pointsX, pointsY, {}, {}, {}, std::vector<bool>(stretches), {}});
    }
    for (Line& line : rows_) line.moved = line.pattern;
    for (Line& line : columns_) line.moved = line.pattern;
}

// The peaks and valleys along the line, turning at a swing of kSwing; an
// extreme counts where the stripe on either side of it is dark enough.
void PatternFinder::findStripes(Line& line, const std::vector<float>& luminance) const {
    line.lastPeaks.swap(line.peaks);
    line.peaks.clear();
    line.valleys.clear();
    auto at = [&](int i) { return luminance[line.start + static_cast<std::size_t>(i) * line.step]; };
    int rising = 0;  // 1 after a valley, -1 after a peak, 0 before the first turn
    int extreme = 0, low = 0, high = 0;
    float lastTurn = at(0);
    for (int i = 1; i < line.length; ++i) {
        const float v = at(i);
        if (rising == 0) {
            if (v < at(low)) low = i;
            if (v > at(high)) high = i;
            if (v - at(low) >= kSwing) rising = 1, extreme = i, lastTurn = at(low);
            else if (at(high) - v >= kSwing) rising = -1, extreme = i, lastTurn = at(high);
            continue;
        }
        if (rising * (v - at(extreme)) > 0) {
            extreme = i;
        } else if (rising * (at(extreme) - v) >= kSwing) {
            if (std::min(lastTurn, at(extreme)) < kDarkerBelow || std::min(v, at(extreme)) < kDarkerBelow)
                (rising > 0 ? line.peaks : line.valleys).push_back(extreme);
            lastTurn = at(extreme);
            rising = -rising;
            extreme = i;
        }
    }
}

void PatternFinder::findPatterns(Line& line) const {
    for (int cell = 0; cell + field_ <= cells_; ++cell) {
        const int from = cell * line.length / cells_, to = (cell + field_) * line.length / cells_;
        const auto [first, last] = within(line.peaks, from, to);
        const auto [firstValley, lastValley] = within(line.valleys, from, to);
        bool pattern = last - first > kMorePairsThan && lastValley - firstValley > kMorePairsThan;
        if (pattern) {
            int narrowest = line.length, widest = 0;
            for (auto p = first + 1; p != last; ++p) {
                narrowest = std::min(narrowest, *p - *(p - 1));
                widest = std::max(widest, *p - *(p - 1));
            }
            pattern = 4 * widest <= 5 * narrowest + 4;
        }
        line.pattern[cell] = pattern;
        const auto [lastFirst, lastLast] = within(line.lastPeaks, from, to);
        line.moved[cell] = pattern && !std::equal(first, last, lastFirst, lastLast);
    }
}

bool PatternFinder::fieldHasMovingPattern(int firstLine, int stretch, bool columns) const {
    const std::vector<Line>& lines = columns ? columns_ : rows_;
    int patterns = 0;
    bool moved = false;
    for (int i = firstLine; i < firstLine + field_; ++i) {
        patterns += lines[i].pattern[stretch];
        moved = moved || lines[i].moved[stretch];
    }
    return moved && 2 * patterns >= field_;
}

bool PatternFinder::addFrame(const std::vector<float>& luminance) {
    for (std::vector<Line>* lines : {&rows_, &columns_})
        for (Line& line : *lines) {
            findStripes(line, luminance);
            findPatterns(line);
        }
    if (std::exchange(first_, false)) return false;
    for (int y = 0; y + field_ <= cells_; ++y)
        for (int x = 0; x + field_ <= cells_; ++x)
            if (fieldHasMovingPattern(y, x, false) || fieldHasMovingPattern(x, y, true)) return true;
    return false;
}

}  // namespace flash
