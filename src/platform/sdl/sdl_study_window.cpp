#include "platform/sdl/sdl_study_window.h"

#include <SDL.h>

#include "platform/sdl/sdl_video.h"
#include "platform/portable/window_layout.h"

namespace {

constexpr uint64_t kMaxFramesPerSecond = 60;

StudyKey keyOf(SDL_Keycode key) {
    switch (key) {
    case SDLK_SPACE: return StudyKey::Space;
    case SDLK_PERIOD: return StudyKey::Period;
    case SDLK_COMMA: return StudyKey::Comma;
    case SDLK_LEFT: return StudyKey::Left;
    case SDLK_RIGHT: return StudyKey::Right;
    case SDLK_UP: return StudyKey::Up;
    case SDLK_DOWN: return StudyKey::Down;
    case SDLK_PAGEUP: return StudyKey::PageUp;
    case SDLK_PAGEDOWN: return StudyKey::PageDown;
    case SDLK_HOME: return StudyKey::Home;
    case SDLK_ESCAPE: return StudyKey::Escape;
    default: return StudyKey::Other;
    }
}

}  // namespace

std::unique_ptr<SdlStudyWindow> SdlStudyWindow::open(int width, int height, int scale, bool fullscreen,
                                                     const WindowIcon& icon, std::string& error) {
    std::unique_ptr<SdlStudyWindow> window(new SdlStudyWindow(width, height));
    if (!window->create(scale, fullscreen, icon, error)) return nullptr;
    return window;
}

bool SdlStudyWindow::create(int scale, bool fullscreen, const WindowIcon& icon, std::string& error) {
    if (!initSdlVideo(error)) return false;
    videoInitialised_ = true;
    const int multiple = sdlWindowScale(scale, width_, height_);
    Uint32 flags = SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI;
    if (fullscreen) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    window_ = SDL_CreateWindow("Zemra.", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width_ * multiple,
                               height_ * multiple, flags);
    if (window_) {
        SDL_SetWindowMinimumSize(window_, width_, height_);
        setSdlWindowIcon(window_, icon);
        renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_PRESENTVSYNC);
        if (!renderer_) renderer_ = SDL_CreateRenderer(window_, -1, 0);
    }
    if (renderer_)
        texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING, width_, height_);
    if (!texture_) {
        error = SDL_GetError();
        return false;
    }
    repaint();
    return true;
}

SdlStudyWindow::~SdlStudyWindow() {
    if (texture_) SDL_DestroyTexture(texture_);
    if (renderer_) SDL_DestroyRenderer(renderer_);
    if (window_) SDL_DestroyWindow(window_);
    if (videoInitialised_) SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

void SdlStudyWindow::repaint() {
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);
    int outputWidth = 0, outputHeight = 0;
    SDL_GetRendererOutputSize(renderer_, &outputWidth, &outputHeight);
    const PixelRect fit = fitWholeMultiple(outputWidth, outputHeight, width_, height_);
    const SDL_Rect target{fit.x, fit.y, fit.width, fit.height};
    SDL_RenderCopy(renderer_, texture_, nullptr, &target);
    SDL_RenderPresent(renderer_);
}

// Vsync paces the frames where it works; elsewhere they are held to 60 a second.
void SdlStudyWindow::show(const uint32_t* pixels, int width, int height) {
    if (width != width_ || height != height_) return;
    SDL_UpdateTexture(texture_, nullptr, pixels, width * 4);
    repaint();
    const uint64_t interval = SDL_GetPerformanceFrequency() / kMaxFramesPerSecond;
    const uint64_t now = SDL_GetPerformanceCounter();
    if (lastPresent_ != 0 && now < lastPresent_ + interval) {
        SDL_Delay(static_cast<Uint32>((lastPresent_ + interval - now) * 1000 / SDL_GetPerformanceFrequency()));
        lastPresent_ += interval;
    } else {
        lastPresent_ = now;
    }
}

bool SdlStudyWindow::toPicture(int windowX, int windowY, int& x, int& y) {
    int windowWidth = 0, windowHeight = 0, outputWidth = 0, outputHeight = 0;
    SDL_GetWindowSize(window_, &windowWidth, &windowHeight);
    SDL_GetRendererOutputSize(renderer_, &outputWidth, &outputHeight);
    if (windowWidth <= 0 || windowHeight <= 0) return false;
    // On high-density displays the output has more pixels than the window has points.
    const int outX = windowX * outputWidth / windowWidth, outY = windowY * outputHeight / windowHeight;
    const PixelRect fit = fitWholeMultiple(outputWidth, outputHeight, width_, height_);
    const int scale = fit.width / width_;
    if (outX < fit.x || outY < fit.y || outX >= fit.x + fit.width || outY >= fit.y + fit.height) return false;
    x = (outX - fit.x) / scale;
    y = (outY - fit.y) / scale;
    return true;
}

bool SdlStudyWindow::pollInput(StudyInput& input) {
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
        switch (e.type) {
        case SDL_QUIT: input = {StudyInput::Close}; return true;
        case SDL_KEYDOWN:
            input = {StudyInput::Key, keyOf(e.key.keysym.sym), e.key.repeat != 0};
            return true;
        case SDL_MOUSEBUTTONDOWN:
            if (e.button.button != SDL_BUTTON_LEFT) break;
            input = {StudyInput::Click};
            if (toPicture(e.button.x, e.button.y, input.x, input.y)) return true;
            break;
        case SDL_MOUSEMOTION:
            if ((e.motion.state & SDL_BUTTON_LMASK) == 0) break;
            input = {StudyInput::Drag};
            if (toPicture(e.motion.x, e.motion.y, input.x, input.y)) return true;
            break;
        case SDL_WINDOWEVENT:
            switch (e.window.event) {
            case SDL_WINDOWEVENT_CLOSE: input = {StudyInput::Close}; return true;
            case SDL_WINDOWEVENT_FOCUS_LOST: input = {StudyInput::FocusLost}; return true;
            case SDL_WINDOWEVENT_FOCUS_GAINED: input = {StudyInput::FocusGained}; return true;
            case SDL_WINDOWEVENT_EXPOSED:
            case SDL_WINDOWEVENT_SIZE_CHANGED: repaint(); break;
            default: break;
            }
            break;
        default: break;
        }
    }
    return false;
}

void SdlStudyWindow::waitForInput(int timeoutMs) { SDL_WaitEventTimeout(nullptr, timeoutMs); }
