#pragma once
// Finds moving regular stripes: more than five light-dark pairs across a
// 10-degree field, regularly spaced, whose stripes moved since the last
// frame. Reported beside the flashes; such patterns are a risk of their own
// that counting flashes does not see (stripes in motion change every pixel
// they cover, but never a quarter of a field the same way at once).
//
// The picture's luminance is read along lines: the rows through the middle
// of each cell row of the grid and the columns through the middle of each
// cell column, a field being 8 x 8 cells. Along a line, light and dark
// stripes are the peaks and valleys of the luminance found as for flashes
// (a swing of at least 0.1, the darker side below 0.80). A line's stretch
// across a field (a third of the picture) has a pattern when it has more
// than five peaks and five valleys with the peaks evenly spaced (the widest
// gap at most a quarter wider than the narrowest, and a point). A field
// holds a pattern when half of its rows, or half of its columns, have one
// (a line of text or a single edge does not), and the pattern moves when
// the peaks on one of those lines are not where they were on the last
// frame. Stripes that cross the lines at a slant still count, spaced wider.

#include <vector>

namespace flash {

class PatternFinder {
public:
    // The picture's points (pointsX x pointsY, row by row), and the grid's
    // cells across and down of which a field is a third.
    PatternFinder(int pointsX, int pointsY, int cells);

    // One frame's luminance per point. True when a moving pattern was found.
    bool addFrame(const std::vector<float>& luminance);

private:
    struct Line {
        int start, step, length;  // the points it reads
        std::vector<int> peaks, valleys, lastPeaks;  // positions along the line
        // Per stretch a field wide (starting at each cell): a pattern, and one that moved.
        std::vector<bool> pattern, moved;
    };
    void findStripes(Line& line, const std::vector<float>& luminance) const;
    void findPatterns(Line& line) const;
    // A field of these lines (the rows, or the columns) from this one.
    bool fieldHasMovingPattern(int firstLine, int stretch, bool columns) const;

    int cells_, field_;
    std::vector<Line> rows_, columns_;
    bool first_ = true;  // no frame before it to have moved from
};

}  // namespace flash
