#pragma once
// The picture every effect draws into: 240x320 RGB565 pixels, rows of 240
// from top to bottom (red bits 11-15, green 5-10, blue 0-4).

#include "anim/screen_size.h"
