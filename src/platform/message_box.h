#pragma once
// Modal messages in SDL's message box: the text and an OK button.

#include "platform/dialogs.h"

struct SDL_Window;

class SdlMessageBox : public Dialogs {
public:
    // parent: the window the box belongs to, or null.
    explicit SdlMessageBox(SDL_Window* parent = nullptr) : parent_(parent) {}
    void setParent(SDL_Window* parent) { parent_ = parent; }
    // Returns once the box is dismissed, or at once when no box can be shown.
    void showMessage(const std::string& text) override;

private:
    SDL_Window* parent_;
};
