#include "safety/flash_analyser.h"

#include <algorithm>

#include "anim/rgb565.h"
#include "safety/field_counter.h"
#include "safety/flash_measures.h"
#include "safety/pattern_finder.h"
#include "safety/transition_tracker.h"

using flash::Direction;
using flash::LinearColour;

namespace {

enum Kind { kGeneral, kRed, kRedChroma };

// General: a luminance change of at least 0.1 whose darker state is below
// 0.80. Red: a change of (R - G - B) x 320 of more than 20, or of u'v'
// chromaticity of more than 0.2, with a saturated red on one side.
const flash::TransitionRule kRules[3] = {
    {0.1f, false, 0.8f, false},
    {20.0f, true, 1e30f, true},
    {0.2f, true, 1e30f, true},
};

int& count(FlashCounts& counts, int kind) {
    return kind == kGeneral ? counts.general : kind == kRed ? counts.red : counts.redChroma;
}

// Marks the seconds of four or more transitions that lie four within five.
void markExtendedFlashing(std::vector<SecondResult>& seconds) {
    auto heavy = [](const SecondResult& s) { return s.transitions.most() >= 4; };
    const long total = static_cast<long>(seconds.size());
    for (long end = 0; end < total; ++end) {
        const long start = std::max(0L, end - 4);
        if (std::count_if(seconds.begin() + start, seconds.begin() + end + 1, heavy) < 4) continue;
        for (long s = start; s <= end; ++s) seconds[s].extended = seconds[s].extended || heavy(seconds[s]);
    }
}

// Marks and returns the runs of seconds with flashes that last longer than five seconds.
std::vector<FlashSequence> markLongRuns(std::vector<SecondResult>& seconds) {
    std::vector<FlashSequence> runs;
    const long total = static_cast<long>(seconds.size());
    for (long s = 0; s < total;) {
        long end = s;
        while (end < total && seconds[end].flashes.most() > 0) ++end;
        if (end - s > 5) {
            runs.push_back({s, end - s});
            for (long i = s; i < end; ++i) seconds[i].longSequence = true;
        }
        s = std::max(end, s + 1);
    }
    return runs;
}

}  // namespace

FlashAnalyser::FlashAnalyser(int framesPerSecond) : fps_(std::max(1, framesPerSecond)) {}

FlashAnalyser::~FlashAnalyser() = default;

// Lays the analysed points and the cells over a picture of this size.
void FlashAnalyser::layOut(int width, int height) {
    width_ = width;
    height_ = height;
    const int block = (std::max(width, height) + kMostSide - 1) / kMostSide;
    pointsX_ = (width + block - 1) / block;
    const int pointsY = (height + block - 1) / block;
    pointOfColumn_.resize(width);
    pointOfRow_.resize(height);
    for (int x = 0; x < width; ++x) pointOfColumn_[x] = x / block;
    for (int y = 0; y < height; ++y) pointOfRow_[y] = y / block;
    const std::size_t points = static_cast<std::size_t>(pointsX_) * pointsY;
    pointPixels_.assign(points, 0.0f);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) pointPixels_[pointOfRow_[y] * pointsX_ + pointOfColumn_[x]] += 1;
    // A picture smaller than the grid leaves some cells empty: they weigh nothing.
    std::vector<float> cellPixels(kCells * kCells, 0.0f);
    cellOfPoint_.resize(points);
    for (int y = 0; y < pointsY; ++y)
        for (int x = 0; x < pointsX_; ++x) {
            const std::size_t point = static_cast<std::size_t>(y) * pointsX_ + x;
            cellOfPoint_[point] = (y * kCells / pointsY) * kCells + x * kCells / pointsX_;
            cellPixels[cellOfPoint_[point]] += pointPixels_[point];
        }
    luminance_.assign(points, 0.0f);
    patterns_ = std::make_unique<flash::PatternFinder>(pointsX_, pointsY, kCells);
    for (int kind = 0; kind < kKinds; ++kind) {
        trackers_[kind].assign(points, flash::TransitionTracker());
        fields_[kind] =
            std::make_unique<flash::FieldCounter>(kCells, kCells, kCells / 3, kCells / 3, cellPixels, fps_);
    }
}

bool FlashAnalyser::begin(int width, int height) {
    if (width <= 0 || height <= 0) {
        error_ = "a frame without pixels (" + std::to_string(width) + " x " + std::to_string(height) + ")";
        return false;
    }
    if (frame_ > 0 && (width != width_ || height != height_)) {
        error_ = "a frame of " + std::to_string(width) + " x " + std::to_string(height) + " among frames of " +
                 std::to_string(width_) + " x " + std::to_string(height_);
        return false;
    }
    if (frame_ == 0) layOut(width, height);
    sums_.assign(pointPixels_.size(), {0.0f, 0.0f, 0.0f});
    return true;
}

void FlashAnalyser::addRow(int y, const uint8_t* rgb) {
    const std::array<float, 256>& linear = flash::linearFromSrgb();
    std::array<float, 3>* points = sums_.data() + static_cast<std::size_t>(pointOfRow_[y]) * pointsX_;
    for (int x = 0; x < width_; ++x, rgb += 3) {
        std::array<float, 3>& sum = points[pointOfColumn_[x]];
        sum[0] += linear[rgb[0]];
        sum[1] += linear[rgb[1]];
        sum[2] += linear[rgb[2]];
    }
}

bool FlashAnalyser::add(const RgbFrame& frame) {
    if (!frame.rgb) return begin(0, 0);
    if (!begin(frame.width, frame.height)) return false;
    const std::ptrdiff_t rowBytes = frame.rowBytes ? frame.rowBytes : std::ptrdiff_t{3} * frame.width;
    for (int y = 0; y < height_; ++y) addRow(y, frame.rgb + y * rowBytes);
    endFrame();
    return true;
}

bool FlashAnalyser::addRgb565(const uint16_t* pixels, int width, int height) {
    if (!pixels) return begin(0, 0);
    if (!begin(width, height)) return false;
    row_.resize(std::size_t{3} * width);
    for (int y = 0; y < height; ++y) {
        const uint16_t* source = pixels + std::ptrdiff_t{y} * width;
        for (int x = 0; x < width; ++x) {
            const uint32_t r = rgb565::red8<uint32_t>(source[x]), g = rgb565::green8<uint32_t>(source[x]),
                           b = rgb565::blue8<uint32_t>(source[x]);
            row_[3 * x] = static_cast<uint8_t>(r | r >> 5);
            row_[3 * x + 1] = static_cast<uint8_t>(g | g >> 6);
            row_[3 * x + 2] = static_cast<uint8_t>(b | b >> 5);
        }
        addRow(y, row_.data());
    }
    endFrame();
    return true;
}

void FlashAnalyser::closeSecond() {
    SecondResult& second = seconds_.back();
    for (int kind = 0; kind < kKinds; ++kind) {
        const int transitions = fields_[kind]->spanMost();
        count(second.transitions, kind) = transitions;
        count(second.flashes, kind) = transitions / 2;
        fields_[kind]->startSpan();
    }
}

void FlashAnalyser::endFrame() {
    if (frame_ % fps_ == 0) {
        if (frame_ > 0) closeSecond();
        seconds_.emplace_back();
    }
    for (int kind = 0; kind < kKinds; ++kind) {
        up_[kind].assign(kCells * kCells, 0.0f);
        down_[kind].assign(kCells * kCells, 0.0f);
    }
    for (std::size_t point = 0; point < sums_.size(); ++point) {
        const float pixels = pointPixels_[point], scale = 1 / pixels;
        const LinearColour mean{sums_[point][0] * scale, sums_[point][1] * scale, sums_[point][2] * scale};
        const bool red = flash::isSaturatedRed(mean);
        luminance_[point] = flash::relativeLuminance(mean);
        const float measures[kKinds] = {luminance_[point], flash::redFlashValue(mean), flash::distanceFromRed(mean)};
        for (int kind = 0; kind < kKinds; ++kind) {
            const Direction moved = trackers_[kind][point].add(measures[kind], red, kRules[kind]);
            if (moved != Direction::None) (moved == Direction::Up ? up_ : down_)[kind][cellOfPoint_[point]] += pixels;
        }
    }
    if (patterns_->addFrame(luminance_)) ++seconds_.back().patternFrames;
    for (int kind = 0; kind < kKinds; ++kind) {
        fields_[kind]->addFrame(up_[kind], down_[kind]);
        // The window of the last second touches this second and perhaps the one before.
        const int flashes = fields_[kind]->windowMost() / 2;
        const long first = std::max(0L, frame_ - fps_ + 1) / fps_, last = frame_ / fps_;
        for (long s = first; s <= last; ++s) {
            int& worst = count(seconds_[s].worstWindow, kind);
            worst = std::max(worst, flashes);
        }
    }
    ++frame_;
}

int FlashAnalyser::recentTransitions() const {
    int most = 0;
    for (const auto& field : fields_)
        if (field) most = std::max(most, field->windowMost());
    return most;
}

FlashReport FlashAnalyser::finish() {
    FlashReport report;
    report.framesPerSecond = fps_;
    report.frames = frame_;
    report.width = width_;
    report.height = height_;
    if (frame_ == 0) return report;
    closeSecond();
    markExtendedFlashing(seconds_);
    report.longSequences = markLongRuns(seconds_);
    report.seconds = std::move(seconds_);
    seconds_.clear();
    frame_ = 0;
    return report;
}
