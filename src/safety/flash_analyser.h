#pragma once
// A flash check over a clip given one frame at a time, after the published
// definitions of general and red flashes (three flashes or below threshold).
//
// Every pixel is followed from peak to valley, for its luminance and for the
// two red measures; a field counts a transition when the pixels that made
// one the same way together cover more than a quarter of it (field_counter.h
// says how). Moving regular stripes are looked for beside the flashes
// (pattern_finder.h). Pictures larger than kMostSide on a side are first
// averaged in square blocks, which then stand for pixels.
//
// Memory stays bounded whatever the clip's length: the analyser keeps a few
// numbers per pixel, the field transitions of the last second and a small
// result per second, never frames.
//
// Every frame must have the first one's size. The picture is taken to be
// seen full screen: the 10-degree field is a third of its width by a third of
// its height, which is the same for the show's back buffer (240 x 320) and
// the picture as shown (turned to 320 x 240).

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "safety/flash_report.h"

namespace flash {
class FieldCounter;
class PatternFinder;
class TransitionTracker;
}  // namespace flash

// 8-bit sRGB pixels, three bytes R, G, B each, rows top to bottom.
struct RgbFrame {
    const uint8_t* rgb = nullptr;
    int width = 0, height = 0;
    std::ptrdiff_t rowBytes = 0;  // 0: width x 3
};

class FlashAnalyser {
public:
    // The grid that fields slide over, one cell at a time: cells across and
    // down (a multiple of 3, so that a field is whole cells).
    static constexpr int kCells = 24;
    // The largest side analysed pixel by pixel. The show's 320 x 240 picture
    // is followed in blocks of 2 x 2: a flash covers thousands of pixels, and
    // a quarter of the work lets the gentle mode watch every frame as it plays.
    static constexpr int kMostSide = 160;

    explicit FlashAnalyser(int framesPerSecond);
    ~FlashAnalyser();

    // Adds the next frame. False, with error() set, for a frame without
    // pixels or of another size than the first; the frame is then left out.
    bool add(const RgbFrame& frame);
    // The same for RGB565 pixels (a row after the other, no gaps), each
    // channel widened by repeating its top bits as when the picture is shown.
    bool addRgb565(const uint16_t* pixels, int width, int height);

    const std::string& error() const { return error_; }
    long frames() const { return frame_; }
    // The most transitions of any one field and kind in the second that
    // ends with the last frame added: what a limiter watches as frames come.
    int recentTransitions() const;

    // The report over every frame added. Ends the analysis: frames added
    // after it begin a new one.
    FlashReport finish();

private:
    bool begin(int width, int height);
    void layOut(int width, int height);
    void addRow(int y, const uint8_t* rgb);
    void endFrame();
    void closeSecond();

    int fps_;
    std::string error_;
    int width_ = 0, height_ = 0;
    long frame_ = 0;
    // The analysed points (pixels, or blocks of a large picture): which one
    // each column and row of pixels falls in, their pixel counts, their cells
    // and, for the frame being added, their sums of linear R, G, B.
    std::vector<int> pointOfColumn_, pointOfRow_;
    int pointsX_ = 0;
    std::vector<float> pointPixels_;
    std::vector<int> cellOfPoint_;
    std::vector<std::array<float, 3>> sums_;
    // Per kind of flash (general, red, red by chromaticity).
    static constexpr int kKinds = 3;
    std::vector<flash::TransitionTracker> trackers_[kKinds];
    std::unique_ptr<flash::FieldCounter> fields_[kKinds];
    std::vector<float> up_[kKinds], down_[kKinds];  // per cell, this frame
    std::vector<float> luminance_;                     // per point, this frame
    std::unique_ptr<flash::PatternFinder> patterns_;
    std::vector<uint8_t> row_;  // an RGB565 row widened to bytes
    std::vector<SecondResult> seconds_;
};
