#pragma once
// The show's messages to the user: each text on standard error and, where
// there is a display, in a message box. Adds a hint on the console where a
// message has an obvious way out.

#include <ostream>

#include "platform/dialogs.h"

class UserMessages : public Dialogs {
public:
    // box: shows the message box; null where there is no display.
    UserMessages(Dialogs* box, std::ostream& console) : box_(box), console_(console) {}
    void showMessage(const std::string& text) override;

private:
    Dialogs* box_;
    std::ostream& console_;
};

// Passes messages on and remembers that there was one: every message the
// show gives reports a failure, so a run that showed one has not succeeded.
class FailureWatch : public Dialogs {
public:
    explicit FailureWatch(Dialogs& shown) : shown_(shown) {}
    void showMessage(const std::string& text) override {
        failed = true;
        shown_.showMessage(text);
    }
    bool failed = false;

private:
    Dialogs& shown_;
};
