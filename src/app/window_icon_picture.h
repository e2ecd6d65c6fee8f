#pragma once
// The show's windows' icon, from the embedded resources.

#include "platform/window_icon.h"

// The 64 x 64 icon with its shape as alpha; empty when it does not load.
WindowIcon showWindowIcon();
