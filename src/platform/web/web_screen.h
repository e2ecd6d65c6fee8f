#pragma once
// The show's screen in a web page: the picture surface is painted onto the
// page's canvas after every frame, and the page's own happenings (the tab
// hidden or shown, the window losing or regaining focus) arrive as screen
// events. The page scales the canvas by whole pixels; keys belong to the
// page (fullscreen), so none is reported. On a screen taller than wide the
// page asks for the picture upright: a landscape surface is then painted
// turned back to the handheld's 240 x 320.

#include <cstdint>
#include <deque>
#include <vector>

#include "platform/portable/picture_surface.h"
#include "platform/screen.h"

class WebScreen : public Screen {
public:
    explicit WebScreen(Orientation orientation = Orientation::Landscape);

    Display& display() override { return display_; }
    // The show loads in one call of about a tenth of a second, during which
    // a page cannot repaint: the page's bar shows the download instead.
    void showLoading(int, int, int) override {}
    void hideLoading() override {}
    bool pollEvent(ScreenEvent& event) override;
    // The page never waits: the browser calls again at its next frame.
    void waitForEvent(int) override {}
    void suspend() override { suspended_ = true; }
    void resume() override;
    void close() override { closed_ = true; }

    // Queues an event of the page for the next pollEvent.
    void post(ScreenEvent event) { events_.push_back(event); }
    // Shows the picture upright or not from now on, and paints the last
    // frame so at once, paused or not: a phone turned while the show is held
    // shows the held frame the new way round.
    void setUpright(bool upright);
    bool closed() const { return closed_; }
    const PictureSurface& surface() const { return surface_; }

private:
    void paint();

    PictureSurface surface_;
    SurfaceDisplay display_;
    std::deque<ScreenEvent> events_;
    bool suspended_ = false;
    bool closed_ = false;
    bool upright_ = false;
};

// Paints a picture surface onto the page's canvas (its size set to match).
// Upright, a landscape surface is painted a quarter turn anticlockwise, which
// undoes its turn: the picture as the handheld's portrait display showed it.
void paintOnCanvas(const PictureSurface& surface, bool upright = false);
// Paints width x height pixels of 0xFFRRGGBB, rows from the top.
void paintOnCanvas(const uint32_t* pixels, int width, int height);
