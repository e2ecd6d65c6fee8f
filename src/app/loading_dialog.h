#pragma once
// The "Loading.." box shown while the show loads: a progress bar drawn in
// the main window and shown again at every step, so the progress is seen
// although loading never returns to the event loop.

#include "engine/main_window.h"

class AppWindow;

class LoadingDialog : public LoadingProgress {
public:
    // Shows the box at once, its bar empty.
    explicit LoadingDialog(AppWindow& owner);
    ~LoadingDialog() override;

    void setRange(int low, int high) override;
    void advance(int steps) override;
    void close() override;

    int low() const { return low_; }
    int high() const { return high_; }
    int position() const { return position_; }

private:
    void repaint();

    AppWindow& owner_;
    int low_ = 0, high_ = 100, position_ = 0;
    bool open_ = true;
};
