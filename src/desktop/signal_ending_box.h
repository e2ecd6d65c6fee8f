#pragma once
// The message box waits for its button and reads none of the window's
// events, where the window library turns a stop signal into a quit event:
// a box left open (no sound device, on a machine with nobody at it) would
// hold the program forever. While this box is open a stop signal ends the
// program, and the box with it; before and after, signals are handled as
// they were.

#include "platform/dialogs.h"

class SignalEndingBox : public Dialogs {
public:
    explicit SignalEndingBox(Dialogs& box) : box_(box) {}
    void showMessage(const std::string& text) override;

private:
    Dialogs& box_;
};
