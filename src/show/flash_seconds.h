#pragma once
// Where the show's own picture flashes more than three times a second, as
// the flash check finds it: marked on study mode's timeline. The golden
// list's "flashes" line holds the same seconds; a test keeps the two equal.

#include <span>

#include "app/show_definition.h"

std::span<const SecondRange> showFlashingSeconds();
