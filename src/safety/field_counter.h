#pragma once
// Counts the transitions of every 10-degree field of the picture, from the
// transitions of the cells of a grid laid over it.
//
// The picture is divided into cells, each followed by its own transition
// tracker. A field is a block of cells a third of the grid wide and high (a
// 10-degree field of view on a picture seen full screen), slid over the grid
// one cell at a time. A field makes a transition when the cells that made a
// transition in the same direction "together" -- within the last tenth of a
// second, and not turned back since -- cover more than a quarter of its
// area, counted once when the covered area first goes over the quarter.
// Areas are the cells' pixel counts, summed over a field by an integral
// image of the grid.
//
// This approximates the definition's area rule at the grid's resolution: a
// flash is placed to a cell, a cell's colour is the mean of its pixels (half
// a cell flashing shows as a smaller change of the whole cell), and a field's
// edges fall on cell edges.

#include <cstdint>
#include <vector>

#include "safety/transition_tracker.h"

namespace flash {

class FieldCounter {
public:
    // cellArea: the pixels of each cell, row by row (cellsX x cellsY);
    // a field is fieldX x fieldY cells. Transitions count together within
    // togetherFrames frames; the window is windowFrames long.
    FieldCounter(int cellsX, int cellsY, int fieldX, int fieldY, std::vector<float> cellArea, int togetherFrames,
                 int windowFrames);

    // One frame: each cell's transition that started to count on it (or None).
    void addFrame(const std::vector<Direction>& cellTransitions);

    // The most transitions any one field made in the window ending with the last frame.
    int windowMost() const { return windowMost_; }
    // The most transitions any one field made since startSpan() (a second of the clip).
    int spanMost() const;
    void startSpan();

private:
    void countFieldTransitions(std::vector<int>& triggered);

    int cellsX_, cellsY_, fieldX_, fieldY_, positionsX_, positionsY_;
    std::vector<double> fieldArea_;  // per field position
    int together_, window_;
    long frame_ = 0;
    // Per cell: the direction and frame of its last transition.
    std::vector<Direction> lastDirection_;
    std::vector<long> lastFrame_;
    std::vector<double> integral_;  // (cellsX + 1) x (cellsY + 1), reused per direction
    std::vector<float> cellArea_;
    // Per field position and direction: covered more than a quarter on the last frame.
    std::vector<uint8_t> wasOver_;
    // The fields that made a transition on each frame of the window (a ring),
    // and each field's count over the window and over the span.
    std::vector<std::vector<int>> ring_;
    std::vector<int> windowCount_, spanCount_;
    int windowMost_ = 0;
};

}  // namespace flash
