#include "platform/message_box.h"

#include <SDL.h>

void SdlMessageBox::showMessage(const std::string& text) {
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, "Zemra.", text.c_str(), parent_);
}
