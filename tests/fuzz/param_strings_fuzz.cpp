// Parameter strings as the script hands them over: each line is parsed,
// applied to tracks ("setparam" and directly) and the tracks evaluated at
// times around it. A line "@N" moves the time to N.
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

#include "anim/intmath.h"
#include "anim/param_track.h"
#include "anim/track_list.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    ParamTrack direct, first, second(-12345);
    const TrackList tracks = {{"first", &first}, {"second", &second}};
    int32_t time = 0;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.starts_with('@')) {
            time = parseParamNumber(line.substr(1));
            continue;
        }
        const ParamSettings settings = parseParamString(line);
        direct.applySettings(settings, time);
        applySetParam(tracks, time, "setparam", std::string(line));
        for (const int32_t at : {time, zm::wrapAdd(time, 1), zm::wrapSub(time, 1), zm::wrapAdd(time, direct.length),
                                 zm::wrapAdd(time, zm::wrapMul(direct.length, 3)), zm::wrapAdd(time, 1 << 20),
                                 std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()}) {
            direct.evaluate(at);
            first.evaluate(at);
            second.evaluate(at);
        }
    }
    return 0;
}
