#include "platform/sdl/sdl_message_box.h"

#include <SDL.h>

#include "platform/sdl/sdl_screen.h"

void SdlMessageBox::showMessage(const std::string& text) {
    SDL_Window* parent = screen_ ? screen_->window() : nullptr;
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, "Zemra.", text.c_str(), parent);
}
