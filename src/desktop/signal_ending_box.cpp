#include "desktop/signal_ending_box.h"

#include "platform/interrupt_watch.h"

void SignalEndingBox::showMessage(const std::string& text) {
    if (stop_.requested()) return;
    const SignalsEndProgram signalsEnd;
    box_.showMessage(text);
}
