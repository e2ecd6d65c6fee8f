#include "platform/sdl/sdl_video.h"

#include <SDL.h>

#include <cstdlib>

#include "platform/portable/window_layout.h"

namespace {

// SDL falls back to an invisible offscreen window where there is no display;
// the show wants a real one, so unless a driver is asked for by name only the
// drivers of a desktop session (or the console's DRM) are tried.
void preferRealDisplays() {
#ifdef __linux__
    if (std::getenv("SDL_VIDEODRIVER")) return;
    std::string drivers;
    if (std::getenv("DISPLAY")) drivers += "x11,";
    if (std::getenv("WAYLAND_DISPLAY")) drivers += "wayland,";
    drivers += "KMSDRM";
    SDL_SetHint(SDL_HINT_VIDEODRIVER, drivers.c_str());
#endif
}

}  // namespace

bool initSdlVideo(std::string& error) {
    // Whole-pixel enlargement: nearest neighbour keeps the pixels sharp.
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0");
    preferRealDisplays();
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) return true;
    error = SDL_GetError();
#ifdef __linux__
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY"))
        error = "no display (neither DISPLAY nor WAYLAND_DISPLAY is set)";
#endif
    return false;
}

int sdlWindowScale(int requested, int pictureWidth, int pictureHeight) {
    if (requested > 0) return requested;
    SDL_Rect usable;
    if (SDL_GetDisplayUsableBounds(0, &usable) != 0) return 2;
    return defaultWindowScale(usable.w, usable.h, pictureWidth, pictureHeight);
}

void setSdlWindowIcon(SDL_Window* window, const WindowIcon& icon) {
    if (!window || icon.argb.empty() || icon.argb.size() != static_cast<std::size_t>(icon.width) * icon.height) return;
    // SDL copies the pixels; the surface only borrows them for the call.
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint32_t*>(icon.argb.data()), icon.width,
                                                              icon.height, 32, icon.width * 4, SDL_PIXELFORMAT_ARGB8888);
    if (!surface) return;
    SDL_SetWindowIcon(window, surface);
    SDL_FreeSurface(surface);
}
