#include "app/user_messages.h"

void UserMessages::showMessage(const std::string& text) {
    console_ << text << '\n';
    if (text == "Initializing fmod failed.")
        console_ << "No sound device could be opened; zemra --mute plays the show without sound.\n";
    console_.flush();
    if (box_) box_->showMessage(text);
}
