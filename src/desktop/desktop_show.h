#pragma once
// The show on the desktop: an SDL window, the sound device (or none with
// --mute), SDL's clock and message boxes.

#include "app/seek.h"
#include "app/show_definition.h"
#include "desktop/command_line.h"

// Plays `show` from start (showStart() for the beginning); returns the exit
// status: 0 when it has played and ended, 1 when there is no display or
// start-up failed.
int runDesktopShow(const ShowOptions& options, const StartPoint& start, const ShowDefinition& show);
