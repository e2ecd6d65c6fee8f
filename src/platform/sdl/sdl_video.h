#pragma once
// Starting SDL's video for a window of the show.

#include <string>

// Initialises SDL's video subsystem, preferring a real desktop display to
// SDL's invisible offscreen fallback. False with a reason in error.
bool initSdlVideo(std::string& error);

// The window's scale in multiples of a picture: the one asked for, or, for
// 0, one that suits the desktop.
int sdlWindowScale(int requested, int pictureWidth, int pictureHeight);
