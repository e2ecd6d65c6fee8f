#pragma once
// Modal messages to the user.

#include <string>

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // Shows text in a modal box with an OK button; returns when it is dismissed.
    virtual void showMessage(const std::string& text) = 0;
};
