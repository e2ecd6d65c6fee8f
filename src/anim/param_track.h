#pragma once
// Animated integer parameters, driven by script strings such as
// "param=control mode=slow loopmode=stop length=1500 value0=256 value1=0".
//
// Use: auto s = parseParamString(arg); if (s.param == "clip") clip.applySettings(s, time);
// then each frame: clip.evaluate(t); read clip.current.

#include <cstdint>
#include <string>
#include <string_view>

// The value texts of one parameter string, exactly as they followed "key=";
// an empty text means the key was absent.
struct ParamSettings {
    std::string param, mode, loopmode, length, value0, value1;
};

// Splits the argument into key=value tokens at single spaces. Unknown keys and
// tokens without '=' are ignored; a repeated key keeps its last value.
ParamSettings parseParamString(std::string_view argument);

// Decimal conversion of a value text: leading white space, optional sign,
// digits up to the first other character; no digits gives 0. Values beyond
// 32 bits saturate.
int32_t parseParamNumber(std::string_view text);

class ParamTrack {
public:
    // Codes of `mode` (the curve's shape) and `loopmode` (what happens past
    // the end of the curve).
    enum Mode : int32_t { kConstant = 0, kLinear, kSmooth, kFast, kSlow, kSin, kCos };
    enum LoopMode : int32_t { kContinue = 0, kStop, kLoop, kPingPong };

    ParamTrack();
    explicit ParamTrack(int32_t initial);
    virtual ~ParamTrack() = default;

    // Takes the settings present in the string. A length restarts the track at
    // time; a missing value0 continues from the value last shown.
    void applySettings(const ParamSettings& settings, int32_t time);
    // Recomputes current for the given time.
    void evaluate(int32_t time);

    int32_t current, value0, value1, start, length, mode, loopmode;
};

// The script words of a track's mode and loop mode ("linear", "stop"); "?"
// for a code that has none.
const char* trackModeName(int32_t mode);
const char* trackLoopModeName(int32_t loopmode);
