#pragma once
// Study mode's window over SDL: title "Zemra.", resizable or desktop full
// screen, the picture enlarged by the largest whole multiple that fits and
// centred on black. Presents with vsync, at most 60 frames a second.

#include <memory>
#include <string>

#include "platform/study_window.h"
#include "platform/window_icon.h"

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;

class SdlStudyWindow : public StudyWindow {
public:
    // Opens a window for a picture of width x height at `scale` (0: to suit
    // the desktop) with the icon; null with a reason in error where there is
    // no display.
    static std::unique_ptr<SdlStudyWindow> open(int width, int height, int scale, bool fullscreen,
                                                const WindowIcon& icon, std::string& error);
    ~SdlStudyWindow() override;
    SdlStudyWindow(const SdlStudyWindow&) = delete;
    SdlStudyWindow& operator=(const SdlStudyWindow&) = delete;

    void show(const uint32_t* pixels, int width, int height) override;
    bool pollInput(StudyInput& input) override;
    void waitForInput(int timeoutMs) override;

private:
    SdlStudyWindow(int width, int height) : width_(width), height_(height) {}
    bool create(int scale, bool fullscreen, const WindowIcon& icon, std::string& error);
    void repaint();
    // Window coordinates to picture pixels; false outside the picture.
    bool toPicture(int windowX, int windowY, int& x, int& y);

    int width_, height_;
    bool videoInitialised_ = false;
    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
    uint64_t lastPresent_ = 0;
};
