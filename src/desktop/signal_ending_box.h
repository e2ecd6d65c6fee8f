#pragma once
// The message box waits for its button and reads none of the window's
// events, where the window library turns a stop signal into a quit event:
// a box left open (no sound device, on a machine with nobody at it) would
// hold the program forever. While this box is open a stop signal ends the
// program, and the box with it; before and after, signals are handled as
// they were. A stop asked for before (the watch `stop` has seen it, during
// the start-up) is not made to wait for a second: the box is not shown.

#include "platform/dialogs.h"
#include "platform/interrupt_watch.h"

class SignalEndingBox : public Dialogs {
public:
    SignalEndingBox(Dialogs& box, const InterruptWatch& stop) : box_(box), stop_(stop) {}
    void showMessage(const std::string& text) override;

private:
    Dialogs& box_;
    const InterruptWatch& stop_;
};
