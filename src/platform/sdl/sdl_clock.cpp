#include "platform/sdl/sdl_clock.h"

#include <SDL.h>

SdlClock::SdlClock() { SDL_InitSubSystem(SDL_INIT_TIMER); }
SdlClock::~SdlClock() { SDL_QuitSubSystem(SDL_INIT_TIMER); }

uint32_t SdlClock::ticks() { return SDL_GetTicks(); }
void SdlClock::sleep(uint32_t ms) { SDL_Delay(ms); }
