#include "platform/portable/window_layout.h"

#include <algorithm>

PixelRect fitWholeMultiple(int outputWidth, int outputHeight, int pictureWidth, int pictureHeight) {
    const int scale = std::max(1, std::min(outputWidth / pictureWidth, outputHeight / pictureHeight));
    PixelRect rect;
    rect.width = pictureWidth * scale;
    rect.height = pictureHeight * scale;
    rect.x = (outputWidth - rect.width) / 2;
    rect.y = (outputHeight - rect.height) / 2;
    return rect;
}

int defaultWindowScale(int usableWidth, int usableHeight, int pictureWidth, int pictureHeight) {
    // A fifth of the desktop is left for the window frame and the panels.
    const int roomWidth = usableWidth * 4 / 5, roomHeight = usableHeight * 4 / 5;
    const int fits = std::min(roomWidth / pictureWidth, roomHeight / pictureHeight);
    return std::clamp(fits, 1, 4);
}
