#include "platform/sdl/sdl_screen.h"

#include <SDL.h>

#include <algorithm>

#include "platform/portable/loading_box.h"
#include "platform/sdl/sdl_video.h"
#include "platform/portable/window_layout.h"

namespace {

constexpr int kCappedFramesPerSecond = 60;

}  // namespace

SdlScreen::SdlScreen(Orientation orientation)
    : surface_(orientation),
      display_(surface_, [this] { presentSurface(); }),
      wide_(static_cast<std::size_t>(surface_.width()) * surface_.height()) {}

std::unique_ptr<SdlScreen> SdlScreen::open(const ScreenOptions& options, std::string& error) {
    std::unique_ptr<SdlScreen> screen(new SdlScreen(options.orientation));
    if (!screen->create(options, error)) return nullptr;
    return screen;
}

bool SdlScreen::create(const ScreenOptions& options, std::string& error) {
    if (!initSdlVideo(error)) return false;
    videoInitialised_ = true;
    const int width = surface_.width(), height = surface_.height();
    const int scale = sdlWindowScale(options.scale, width, height);
    Uint32 flags = SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI;
    if (options.fullscreen) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    window_ = SDL_CreateWindow("Zemra.", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width * scale, height * scale,
                               flags);
    if (!window_) {
        error = SDL_GetError();
        return false;
    }
    SDL_SetWindowMinimumSize(window_, width, height);
    setSdlWindowIcon(window_, options.icon);
    if (options.fullscreen) SDL_ShowCursor(SDL_DISABLE);

    renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_PRESENTVSYNC);
    if (!renderer_) renderer_ = SDL_CreateRenderer(window_, -1, 0);
    if (!renderer_) {
        error = SDL_GetError();
        return false;
    }
    texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING, width, height);
    if (!texture_) {
        error = SDL_GetError();
        return false;
    }

    // Vsync paces the frames where it works; where it does not (virtual and
    // offscreen displays) frames are held to 60 a second. A faster display
    // with working vsync keeps its own rate.
    int refresh = 0;
    SDL_DisplayMode mode;
    if (SDL_GetWindowDisplayMode(window_, &mode) == 0) refresh = mode.refresh_rate;
    SDL_RendererInfo info;
    const bool vsync = SDL_GetRendererInfo(renderer_, &info) == 0 && (info.flags & SDL_RENDERER_PRESENTVSYNC);
    const int cap = vsync ? std::max(kCappedFramesPerSecond, refresh) : kCappedFramesPerSecond;
    minFrameInterval_ = SDL_GetPerformanceFrequency() / static_cast<uint64_t>(cap);

    widenRgb565(surface_.pixels(), wide_.data(), wide_.size());
    SDL_UpdateTexture(texture_, nullptr, wide_.data(), width * 4);
    repaint();
    return true;
}

SdlScreen::~SdlScreen() {
    close();
    if (videoInitialised_) SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

void SdlScreen::close() {
    if (texture_) SDL_DestroyTexture(texture_);
    if (renderer_) SDL_DestroyRenderer(renderer_);
    if (window_) SDL_DestroyWindow(window_);
    texture_ = nullptr;
    renderer_ = nullptr;
    window_ = nullptr;
}

void SdlScreen::repaint() {
    if (!renderer_) return;
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);
    int outputWidth = 0, outputHeight = 0;
    SDL_GetRendererOutputSize(renderer_, &outputWidth, &outputHeight);
    const PixelRect fit = fitWholeMultiple(outputWidth, outputHeight, surface_.width(), surface_.height());
    const SDL_Rect target{fit.x, fit.y, fit.width, fit.height};
    SDL_RenderCopy(renderer_, texture_, nullptr, &target);
    SDL_RenderPresent(renderer_);
}

void SdlScreen::presentSurface() {
    if (!renderer_) return;
    widenRgb565(surface_.pixels(), wide_.data(), wide_.size());
    SDL_UpdateTexture(texture_, nullptr, wide_.data(), surface_.width() * 4);
    repaint();
    paceFrames();
}

void SdlScreen::paceFrames() {
    const uint64_t now = SDL_GetPerformanceCounter();
    const uint64_t due = lastPresent_ + minFrameInterval_;
    if (lastPresent_ != 0 && now < due) {
        SDL_Delay(static_cast<Uint32>((due - now) * 1000 / SDL_GetPerformanceFrequency()));
        lastPresent_ = due;  // keeps an even cadence despite the sleep's rounding
    } else {
        lastPresent_ = now;
    }
}

void SdlScreen::showLoading(int low, int high, int position) {
    if (!renderer_) return;
    paintLoadingBox(wide_.data(), surface_.width(), surface_.height(), low, high, position);
    SDL_UpdateTexture(texture_, nullptr, wide_.data(), surface_.width() * 4);
    repaint();
}

// Back to the surface's own picture (black until the show draws).
void SdlScreen::hideLoading() {
    if (!renderer_) return;
    widenRgb565(surface_.pixels(), wide_.data(), wide_.size());
    SDL_UpdateTexture(texture_, nullptr, wide_.data(), surface_.width() * 4);
    repaint();
}

// The show runs while the window has the focus and is not minimised; a
// change of that is one event.
void SdlScreen::noteActive(bool focused, bool minimised, ScreenEvent& event, bool& changed) {
    const bool wasActive = focused_ && !minimised_;
    focused_ = focused;
    minimised_ = minimised;
    const bool active = focused_ && !minimised_;
    if (active == wasActive) return;
    event = active ? ScreenEvent::FocusGained : ScreenEvent::FocusLost;
    changed = true;
}

bool SdlScreen::pollEvent(ScreenEvent& event) {
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
        bool changed = false;
        switch (e.type) {
        case SDL_QUIT:
            event = ScreenEvent::CloseRequested;
            return true;
        case SDL_KEYDOWN:
            event = ScreenEvent::KeyPressed;
            return true;
        case SDL_WINDOWEVENT:
            switch (e.window.event) {
            case SDL_WINDOWEVENT_CLOSE:
                event = ScreenEvent::CloseRequested;
                return true;
            case SDL_WINDOWEVENT_FOCUS_LOST: noteActive(false, minimised_, event, changed); break;
            case SDL_WINDOWEVENT_FOCUS_GAINED: noteActive(true, minimised_, event, changed); break;
            case SDL_WINDOWEVENT_MINIMIZED: noteActive(focused_, true, event, changed); break;
            case SDL_WINDOWEVENT_RESTORED:
            case SDL_WINDOWEVENT_MAXIMIZED: noteActive(focused_, false, event, changed); break;
            case SDL_WINDOWEVENT_EXPOSED:
            case SDL_WINDOWEVENT_SIZE_CHANGED: repaint(); break;
            default: break;
            }
            if (changed) return true;
            break;
        default: break;  // key releases, mouse and touch mean nothing to the show
        }
    }
    return false;
}

void SdlScreen::waitForEvent(int timeoutMs) {
    SDL_WaitEventTimeout(nullptr, timeoutMs);  // null: the event stays queued
}
