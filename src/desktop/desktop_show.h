#pragma once
// The show on the desktop: an SDL window, the sound device (or none with
// --mute), SDL's clock and message boxes.

#include "desktop/command_line.h"
#include "app/seek.h"

// Plays the show with `script` from start (showStart() for the beginning); returns the
// exit status: 0 when it has played and ended, 1 when there is no display or
// start-up failed.
int runDesktopShow(const ShowOptions& options, const StartPoint& start,
                   std::span<const ScriptEntry> script = demoScript());
