#pragma once
// Starting SDL's video for a window of the show.

#include <string>

#include "platform/window_icon.h"

struct SDL_Window;

// Initialises SDL's video subsystem, preferring a real desktop display to
// SDL's invisible offscreen fallback. False with a reason in error.
bool initSdlVideo(std::string& error);

// Puts the icon on the window; an empty icon leaves the system's default.
void setSdlWindowIcon(SDL_Window* window, const WindowIcon& icon);

// The window's scale in multiples of a picture: the one asked for, or, for
// 0, one that suits the desktop.
int sdlWindowScale(int requested, int pictureWidth, int pictureHeight);
