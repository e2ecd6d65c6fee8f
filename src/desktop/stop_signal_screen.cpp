#include "desktop/stop_signal_screen.h"

bool StopSignalScreen::pollEvent(ScreenEvent& event) {
    if (!told_ && stop_.requested()) {
        told_ = true;
        event = ScreenEvent::CloseRequested;
        return true;
    }
    return screen_.pollEvent(event);
}
