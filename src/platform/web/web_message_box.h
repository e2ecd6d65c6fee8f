#pragma once
// The show's messages in a web page: a box over the picture with an OK
// button. A page cannot wait for the button, so the show goes on (or has
// stopped) while the box is up.

#include "platform/dialogs.h"

class WebMessageBox : public Dialogs {
public:
    void showMessage(const std::string& text) override;
};
