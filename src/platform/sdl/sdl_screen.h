#pragma once
// The show's window on the desktop, over SDL: title "Zemra.", the picture
// enlarged by whole multiples with black borders, resizable or desktop full
// screen. Presents with vsync and never faster than 60 frames a second where
// vsync does not hold the frames back.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/portable/picture_surface.h"
#include "platform/screen.h"
#include "platform/window_icon.h"

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;

struct ScreenOptions {
    Orientation orientation = Orientation::Landscape;
    bool fullscreen = false;
    int scale = 0;  // window size in picture multiples; 0 chooses one to suit the desktop
    WindowIcon icon;
};

class SdlScreen : public Screen {
public:
    // Opens the window; null with a reason in `error` when there is no
    // display to open it on.
    static std::unique_ptr<SdlScreen> open(const ScreenOptions& options, std::string& error);
    ~SdlScreen() override;
    SdlScreen(const SdlScreen&) = delete;
    SdlScreen& operator=(const SdlScreen&) = delete;

    Display& display() override { return display_; }
    void showLoading(int low, int high, int position) override;
    void hideLoading() override;
    bool pollEvent(ScreenEvent& event) override;
    void waitForEvent(int timeoutMs) override;
    // The window keeps showing its last frame in the background; nothing
    // needs holding, as no frames come while the show is paused.
    void suspend() override {}
    void resume() override { repaint(); }
    void close() override;

    // For the message box: the window it belongs to (null once closed).
    SDL_Window* window() const { return window_; }

private:
    explicit SdlScreen(Orientation orientation);
    bool create(const ScreenOptions& options, std::string& error);
    void presentSurface();
    // Shows the texture's picture in the window as it is sized now.
    void repaint();
    void paceFrames();
    void noteActive(bool focused, bool minimised, ScreenEvent& event, bool& changed);

    PictureSurface surface_;
    SurfaceDisplay display_;  // each finished frame is presented
    std::vector<uint32_t> wide_;  // the picture in 8-bit channels
    bool videoInitialised_ = false;
    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
    bool focused_ = true, minimised_ = false;
    uint64_t lastPresent_ = 0;  // performance-counter time of the last frame
    uint64_t minFrameInterval_ = 0;  // in performance-counter units
};
