#include "app/loading_dialog.h"

#include <algorithm>

#include "app/app_window.h"

LoadingDialog::LoadingDialog(AppWindow& owner) : owner_(owner) { repaint(); }

// After a failed start-up the box stays up until the end, and it may outlive
// its window: it touches nothing when it goes.
LoadingDialog::~LoadingDialog() = default;

void LoadingDialog::setRange(int low, int high) {
    low_ = low;
    high_ = high;
    position_ = 0;
    repaint();
}

// Like a progress bar control, the position stays within the range.
void LoadingDialog::advance(int steps) {
    position_ = std::clamp(position_ + steps, std::min(low_, high_), std::max(low_, high_));
    repaint();
}

void LoadingDialog::close() {
    if (!open_) return;
    open_ = false;
    owner_.screen().hideLoading();
}

// Also handles what the desktop sent meanwhile (a window that answers no
// events looks hung); no show is attached yet, so input does nothing.
void LoadingDialog::repaint() {
    if (!open_) return;
    owner_.screen().showLoading(low_, high_, position_);
    owner_.handleEvents();
}
