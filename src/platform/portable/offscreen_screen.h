#pragma once
// A screen without a window: the blitter writes into a picture surface in
// memory, there is no input, and the loading box is not drawn. The offline
// renderer reads each finished frame from the surface.

#include "platform/portable/picture_surface.h"
#include "platform/screen.h"

class OffscreenScreen : public Screen {
public:
    explicit OffscreenScreen(Orientation orientation) : surface_(orientation) {}

    Display& display() override { return display_; }
    void showLoading(int, int, int) override {}
    void hideLoading() override {}
    bool pollEvent(ScreenEvent&) override { return false; }
    void waitForEvent(int) override {}
    void suspend() override {}
    void resume() override {}
    void close() override {}

    // The picture as the viewer sees it, and how many frames it has shown.
    const PictureSurface& surface() const { return surface_; }
    PictureSurface& surface() { return surface_; }
    long framesShown() const { return shown_; }

private:
    PictureSurface surface_;
    long shown_ = 0;
    SurfaceDisplay display_{surface_, [this] { ++shown_; }};
};
