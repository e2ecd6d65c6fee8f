#include "safety/field_counter.h"

#include <algorithm>

namespace flash {

FieldCounter::FieldCounter(int cellsX, int cellsY, int fieldX, int fieldY, std::vector<float> cellArea,
                           int togetherFrames, int windowFrames)
    : cellsX_(cellsX),
      cellsY_(cellsY),
      fieldX_(fieldX),
      fieldY_(fieldY),
      positionsX_(cellsX - fieldX + 1),
      positionsY_(cellsY - fieldY + 1),
      together_(togetherFrames),
      window_(windowFrames),
      lastDirection_(cellArea.size(), Direction::None),
      lastFrame_(cellArea.size(), 0),
      integral_(static_cast<std::size_t>(cellsX + 1) * (cellsY + 1), 0.0),
      cellArea_(std::move(cellArea)),
      wasOver_(static_cast<std::size_t>(positionsX_) * positionsY_ * 2, 0),
      ring_(windowFrames),
      windowCount_(static_cast<std::size_t>(positionsX_) * positionsY_, 0),
      spanCount_(windowCount_.size(), 0) {
    // The fields' areas, from the integral image of every cell's area.
    const int stride = cellsX_ + 1;
    for (int y = 0; y < cellsY_; ++y)
        for (int x = 0; x < cellsX_; ++x)
            integral_[(y + 1) * stride + x + 1] = cellArea_[y * cellsX_ + x] + integral_[y * stride + x + 1] +
                                                  integral_[(y + 1) * stride + x] - integral_[y * stride + x];
    for (int py = 0; py < positionsY_; ++py)
        for (int px = 0; px < positionsX_; ++px)
            fieldArea_.push_back(integral_[(py + fieldY_) * stride + px + fieldX_] -
                                 integral_[py * stride + px + fieldX_] - integral_[(py + fieldY_) * stride + px] +
                                 integral_[py * stride + px]);
}

void FieldCounter::countFieldTransitions(std::vector<int>& triggered) {
    const int stride = cellsX_ + 1;
    for (int d = 0; d < 2; ++d) {
        const Direction direction = d == 0 ? Direction::Up : Direction::Down;
        // The integral image of the cells that moved this way together.
        for (int y = 0; y < cellsY_; ++y)
            for (int x = 0; x < cellsX_; ++x) {
                const int cell = y * cellsX_ + x;
                const bool recent = lastDirection_[cell] == direction && frame_ - lastFrame_[cell] < together_;
                integral_[(y + 1) * stride + x + 1] = (recent ? cellArea_[cell] : 0.0) +
                                                      integral_[y * stride + x + 1] +
                                                      integral_[(y + 1) * stride + x] - integral_[y * stride + x];
            }
        for (int py = 0; py < positionsY_; ++py)
            for (int px = 0; px < positionsX_; ++px) {
                const int field = py * positionsX_ + px;
                const double covered = integral_[(py + fieldY_) * stride + px + fieldX_] -
                                      integral_[py * stride + px + fieldX_] -
                                      integral_[(py + fieldY_) * stride + px] + integral_[py * stride + px];
                const bool over = fieldArea_[field] > 0 && covered > 0.25 * fieldArea_[field];
                uint8_t& was = wasOver_[field * 2 + d];
                if (over && !was) triggered.push_back(field);
                was = over;
            }
    }
}

void FieldCounter::addFrame(const std::vector<Direction>& cellTransitions) {
    for (std::size_t cell = 0; cell < cellTransitions.size(); ++cell)
        if (cellTransitions[cell] != Direction::None) {
            lastDirection_[cell] = cellTransitions[cell];
            lastFrame_[cell] = frame_;
        }
    // The frame leaving the window takes its transitions with it.
    std::vector<int>& slot = ring_[frame_ % window_];
    for (int field : slot) --windowCount_[field];
    slot.clear();
    countFieldTransitions(slot);
    for (int field : slot) {
        ++windowCount_[field];
        ++spanCount_[field];
    }
    windowMost_ = *std::max_element(windowCount_.begin(), windowCount_.end());
    ++frame_;
}

int FieldCounter::spanMost() const { return *std::max_element(spanCount_.begin(), spanCount_.end()); }

void FieldCounter::startSpan() { std::fill(spanCount_.begin(), spanCount_.end(), 0); }

}  // namespace flash
