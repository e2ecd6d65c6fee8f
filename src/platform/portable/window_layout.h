#pragma once
// Where the picture goes in a window: enlarged by a whole number (pixels stay
// square and sharp), centred, the rest black.

struct PixelRect {
    int x = 0, y = 0, width = 0, height = 0;
};

// The largest whole multiple of the picture that fits the output, at least 1
// (a smaller output shows the picture's centre), centred.
PixelRect fitWholeMultiple(int outputWidth, int outputHeight, int pictureWidth, int pictureHeight);

// A starting scale for a window on a desktop of the given usable size: the
// largest whole multiple that leaves room around the window, between 1 and 4.
int defaultWindowScale(int usableWidth, int usableHeight, int pictureWidth, int pictureHeight);
