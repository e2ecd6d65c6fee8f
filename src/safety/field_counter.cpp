#include "safety/field_counter.h"

#include <algorithm>

namespace flash {

FieldCounter::FieldCounter(int cellsX, int cellsY, int fieldX, int fieldY, const std::vector<float>& cellArea,
                           int windowFrames)
    : cellsX_(cellsX),
      cellsY_(cellsY),
      fieldX_(fieldX),
      fieldY_(fieldY),
      integral_(static_cast<std::size_t>(cellsX + 1) * (cellsY + 1), 0.0f),
      window_(windowFrames) {
    integrate(cellArea);
    for (int y = 0; y + fieldY <= cellsY; ++y)
        for (int x = 0; x + fieldX <= cellsX; ++x) {
            fields_.push_back({x, y, 0.0f});
            fields_.back().area = sum(fields_.back());
        }
    fieldUp_.assign(fields_.size(), 0.0f);
    windowCount_.assign(fields_.size(), 0);
    spanCount_.assign(fields_.size(), 0);
}

void FieldCounter::integrate(const std::vector<float>& perCell) {
    const int stride = cellsX_ + 1;
    for (int y = 0; y < cellsY_; ++y)
        for (int x = 0; x < cellsX_; ++x)
            integral_[(y + 1) * stride + x + 1] = perCell[y * cellsX_ + x] + integral_[y * stride + x + 1] +
                                                  integral_[(y + 1) * stride + x] - integral_[y * stride + x];
}

float FieldCounter::sum(const Field& field) const {
    const int stride = cellsX_ + 1, x1 = field.x + fieldX_, y1 = field.y + fieldY_;
    return integral_[y1 * stride + x1] - integral_[field.y * stride + x1] - integral_[y1 * stride + field.x] +
           integral_[field.y * stride + field.x];
}

// up, down: the field's pixels whose transition starts to count on this frame.
bool FieldCounter::makesTransition(Field& field, float up, float down) {
    field.sinceUp += up;
    field.sinceDown += down;
    const float quarter = 0.25f * field.area;
    const bool upward = field.last != Direction::Up && (up > quarter || field.sinceUp - field.sinceDown > quarter);
    const bool downward =
        field.last != Direction::Down && (down > quarter || field.sinceDown - field.sinceUp > quarter);
    if (!upward && !downward) return false;
    // Both ways at once can only be the first transition: the larger wins.
    field.last = upward && (!downward || up >= down) ? Direction::Up : Direction::Down;
    field.sinceUp = field.sinceDown = 0;
    return true;
}

void FieldCounter::addFrame(const std::vector<float>& up, const std::vector<float>& down) {
    integrate(up);
    for (std::size_t field = 0; field < fields_.size(); ++field) fieldUp_[field] = sum(fields_[field]);
    integrate(down);
    std::vector<int>& counted = window_[frame_ % window_.size()];
    for (int field : counted) --windowCount_[field];  // leaving the window
    counted.clear();
    for (std::size_t field = 0; field < fields_.size(); ++field) {
        if (!makesTransition(fields_[field], fieldUp_[field], sum(fields_[field]))) continue;
        counted.push_back(static_cast<int>(field));
        ++windowCount_[field];
        ++spanCount_[field];
    }
    windowMost_ = *std::max_element(windowCount_.begin(), windowCount_.end());
    ++frame_;
}

int FieldCounter::spanMost() const { return *std::max_element(spanCount_.begin(), spanCount_.end()); }

void FieldCounter::startSpan() { std::fill(spanCount_.begin(), spanCount_.end(), 0); }

}  // namespace flash
