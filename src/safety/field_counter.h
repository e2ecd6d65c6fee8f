#pragma once
// Counts the transitions of every 10-degree field of the picture from the
// transitions of its pixels.
//
// A field is a third of the picture's width by a third of its height (the
// 10-degree field of view of a picture seen full screen). A field makes a
// transition the other way than its last one (a flash is a pair of opposing
// transitions) when the pixels that changed that way together cover more
// than a quarter of it:
// - the pixels whose transition starts to count on this very frame, or
// - the pixels that made a transition that way since the field's last
//   transition, less those that made one the other way: a change of the
//   whole area that is spread over some frames, like a flash fading out
//   unevenly over a picture.
// A high-contrast picture in motion (a scroller, a landscape flying past)
// makes its pixels change as edges pass, but on any one frame only those
// near the edges, and as many one way as the other: it counts as flashing
// only where, frame after frame, more than a quarter of a field changes one
// way at once.
//
// Approximation: the fields slide over a grid of cells one cell at a time,
// so a field's edges fall on cell edges (a field is 8 x 8 cells). The pixels
// of each field are counted exactly, through an integral image of the
// cells' counts.

#include <cstdint>
#include <vector>

#include "safety/transition_tracker.h"

namespace flash {

class FieldCounter {
public:
    // cellArea: the pixels of each cell, row by row (cellsX x cellsY); a
    // field is fieldX x fieldY cells; the window is windowFrames long.
    FieldCounter(int cellsX, int cellsY, int fieldX, int fieldY, const std::vector<float>& cellArea,
                 int windowFrames);

    // One frame: the pixels of each cell whose transition up, and down,
    // starts to count on it.
    void addFrame(const std::vector<float>& up, const std::vector<float>& down);

    // The most transitions any one field made in the window ending with the last frame.
    int windowMost() const { return windowMost_; }
    // The most transitions any one field made since startSpan() (a second of the clip).
    int spanMost() const;
    void startSpan();

private:
    struct Field {
        int x, y;  // its top left cell
        float area;
        Direction last = Direction::None;
        // The pixels that made a transition each way since the last one.
        float sinceUp = 0, sinceDown = 0;
    };
    // Fills integral_ with the integral image of a value per cell.
    void integrate(const std::vector<float>& perCell);
    float sum(const Field& field) const;
    bool makesTransition(Field& field, float up, float down);

    int cellsX_, cellsY_, fieldX_, fieldY_;
    std::vector<Field> fields_;
    long frame_ = 0;
    std::vector<float> integral_;  // (cellsX + 1) x (cellsY + 1)
    std::vector<float> fieldUp_;   // per field, this frame
    // The fields that made a transition on each frame of the window (a ring),
    // and each field's count over the window and over the span.
    std::vector<std::vector<int>> window_;
    std::vector<int> windowCount_, spanCount_;
    int windowMost_ = 0;
};

}  // namespace flash
