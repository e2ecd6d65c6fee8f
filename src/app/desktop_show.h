#pragma once
// The show on the desktop: an SDL window, the sound device (or none with
// --mute), SDL's clock and message boxes.

#include "app/command_line.h"

// Plays the show; returns the exit status: 0 when it has played and ended,
// 1 when there is no display or start-up failed.
int runDesktopShow(const ShowOptions& options);
