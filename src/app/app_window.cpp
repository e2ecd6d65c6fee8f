#include "app/app_window.h"

#include "app/loading_dialog.h"
#include "engine/demo_system.h"

AppWindow::~AppWindow() = default;

std::unique_ptr<LoadingProgress> AppWindow::createLoadingProgress() {
    return std::make_unique<LoadingDialog>(*this);
}

FramePresenter* AppWindow::attachDemo(DemoSystem& demo) {
    demo_ = &demo;
    if (gentle_) gentleDisplay_ = std::make_unique<GentleDisplay>(screen_.display());
    blitter_ = std::make_unique<Blitter>(gentle_ ? *gentleDisplay_ : screen_.display());
    return blitter_.get();
}

// The handheld's task bar, input panel and shell buttons have no desktop
// counterpart: closing only takes the window away, which ends the loop.
void AppWindow::close() {
    if (!open_) return;
    open_ = false;
    screen_.close();
}

void AppWindow::handleEvents() {
    if (closeAsked_ && demo_) onCommandOk();
    ScreenEvent event;
    while (open_ && screen_.pollEvent(event)) {
        switch (event) {
        case ScreenEvent::KeyPressed: onKeyDown(); break;
        case ScreenEvent::CloseRequested: onCloseButton(); break;
        case ScreenEvent::FocusLost: onFocusLost(); break;
        case ScreenEvent::FocusGained: onFocusGained(); break;
        }
    }
}

void AppWindow::onKeyDown() {
    if (demo_) demo_->shutdown();
}

void AppWindow::onCommandOk() {
    closeAsked_ = !demo_;
    if (demo_) demo_->shutdown();
}

void AppWindow::onFocusLost() {
    if (demo_) demo_->pause();
    screen_.suspend();
}

void AppWindow::onFocusGained() {
    screen_.resume();
    if (demo_) demo_->resume();
}
