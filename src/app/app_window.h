#pragma once
// The application's main window: owns the blitter, turns the screen's events
// into the show's reactions (a key or the close button ends the show, losing
// the focus pauses it, regaining it resumes it) and closes when the show
// shuts down. A close asked for while the show starts up (the loading box
// handles the events meanwhile) ends the show as soon as it is attached.

#include <memory>

#include "app/gentle_display.h"
#include "engine/main_window.h"
#include "platform/screen.h"
#include "present/blitter.h"

class AppWindow : public MainWindow {
public:
    // gentle: the picture goes out through the flash limiter (GentleDisplay).
    AppWindow(Screen& screen, bool gentle) : screen_(screen), gentle_(gentle) {}
    ~AppWindow() override;

    std::unique_ptr<LoadingProgress> createLoadingProgress() override;
    // The desktop's input needs no opening: the blitter is always made.
    FramePresenter* attachDemo(DemoSystem& demo) override;
    void close() override;

    bool isOpen() const { return open_; }
    Screen& screen() { return screen_; }
    // The gentle mode's display; null in the normal show or before a show is attached.
    GentleDisplay* gentleDisplay() const { return gentleDisplay_.get(); }
    // Handles every event the screen has waiting.
    void handleEvents();

    // The reactions, each doing nothing before a show is attached but the
    // close, which waits for it.
    void onKeyDown();
    void onCommandOk();
    void onCloseButton() { onCommandOk(); }
    void onFocusLost();
    void onFocusGained();

private:
    Screen& screen_;
    DemoSystem* demo_ = nullptr;
    bool gentle_;
    std::unique_ptr<GentleDisplay> gentleDisplay_;
    std::unique_ptr<Blitter> blitter_;
    bool open_ = true;
    bool closeAsked_ = false;  // before a show was attached
};
