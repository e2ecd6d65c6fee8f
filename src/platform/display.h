#pragma once
// The 16-bit RGB565 surface the blitter writes to.
//
// The picture's way out, from the effects to the viewer:
//   back buffer (engine: 240 x 320, what the effects draw)
//   -> Blitter (present: blends it into the display, turned as it is laid out)
//   -> Display (this interface: the memory the blitter writes)
//   -> Screen (platform: the display with its window's loading box and input;
//      the SDL window, the page's canvas, or OffscreenScreen in memory)
// PictureSurface is the memory most displays are (SurfaceDisplay wraps one).
// The show reaches its window through MainWindow (engine), which AppWindow
// (app) implements over a Screen.
//
// Pixel (x, y) of the 240x320 picture lives at
//   base + y * (yPitch / 2) + x * (xPitch / 2)   (16-bit units)
// where base is what beginDraw returns. Other pitch signs and sizes rotate or
// mirror the picture. The surface keeps the last frame readable through the
// same addresses (motion trails read it back).

#include <cstdint>

struct DisplayProperties {
    int32_t width = 0, height = 0;  // in pixels
    int32_t xPitch = 0;  // bytes from a pixel to its right neighbour (signed)
    int32_t yPitch = 0;  // bytes from a pixel to the one below it (signed)
    int32_t bitsPerPixel = 16;
    int32_t format = 0;
};

class Display {
public:
    virtual ~Display() = default;
    virtual DisplayProperties properties() const = 0;
    // Address of picture pixel (0, 0), valid until endDraw; null when the
    // surface is not available (for instance while suspended).
    virtual uint16_t* beginDraw() = 0;
    // Ends the frame's writing; the surface then shows it.
    virtual void endDraw() = 0;
};
