#pragma once
// Modal messages in SDL's message box: the text and an OK button.

#include "platform/dialogs.h"

class SdlScreen;

class SdlMessageBox : public Dialogs {
public:
    // screen: the window the box belongs to while it is open, or null.
    explicit SdlMessageBox(const SdlScreen* screen = nullptr) : screen_(screen) {}
    // Returns once the box is dismissed, or at once when no box can be shown.
    void showMessage(const std::string& text) override;

private:
    const SdlScreen* screen_;
};
