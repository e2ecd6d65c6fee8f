#include "platform/web/web_clock.h"

#include <emscripten.h>

#include <cmath>

uint32_t WebClock::ticks() {
    // Milliseconds since the page opened, wrapping at 2^32 like every clock of the show.
    return static_cast<uint32_t>(static_cast<uint64_t>(std::floor(emscripten_get_now())));
}

void WebClock::sleep(uint32_t ms) {
    const double until = emscripten_get_now() + ms;
    while (emscripten_get_now() < until) {
    }
}
