#include "anim/param_track.h"

#include <cmath>
#include <iterator>
#include <limits>

#include "anim/intmath.h"

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kHalfPi = 1.5707963267948966;

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return s;
}

void storeToken(ParamSettings& settings, std::string_view token) {
    const auto eq = token.find('=');
    if (eq == std::string_view::npos) return;
    const std::string_view key = token.substr(0, eq);
    const std::string_view value = token.substr(eq + 1);
    std::string* slot = key == "param"      ? &settings.param
                        : key == "mode"     ? &settings.mode
                        : key == "loopmode" ? &settings.loopmode
                        : key == "length"   ? &settings.length
                        : key == "value0"   ? &settings.value0
                        : key == "value1"   ? &settings.value1
                                            : nullptr;
    if (slot) slot->assign(value);
}

// Code of word in words, or -1.
template <std::size_t N>
int32_t wordCode(const std::string& word, const char* const (&words)[N]) {
    for (std::size_t i = 0; i < N; ++i)
        if (word == words[i]) return static_cast<int32_t>(i);
    return -1;
}

constexpr const char* kModeWords[] = {"constant", "linear", "smooth", "fast", "slow", "sin", "cos"};
constexpr const char* kLoopWords[] = {"continue", "stop", "loop", "pingpong"};

// Elapsed time folded back into the curve once it runs past its length.
int32_t foldElapsed(int32_t e, int32_t length, int32_t loopmode) {
    if (e <= length) return e;
    switch (loopmode) {
    case ParamTrack::kStop: return length;
    case ParamTrack::kLoop: return e % length;
    case ParamTrack::kPingPong: {
        // 2 * length in 64 bits: it does not fit 32 bits for long tracks.
        const int64_t twice = 2 * static_cast<int64_t>(length);
        return (e % twice) < length ? e % length : length - e % length;
    }
    default: return e;  // continue: the curve goes on past its end
    }
}

}  // namespace

ParamSettings parseParamString(std::string_view argument) {
    ParamSettings settings;
    const std::string_view text = trim(argument);
    std::size_t p = 0;
    while (p < text.size()) {
        std::size_t s = text.find(' ', p);
        if (s == std::string_view::npos) s = text.size();
        storeToken(settings, trim(text.substr(p, s - p)));
        p = s + 1;
    }
    return settings;
}

int32_t parseParamNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    // Accumulate as a negative number, saturating at the 32-bit limits.
    constexpr int64_t kMin = std::numeric_limits<int32_t>::min();
    int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 - (text[i] - '0');
        if (value < kMin) value = kMin;
    }
    if (!negative) value = value <= -static_cast<int64_t>(std::numeric_limits<int32_t>::max())
                               ? std::numeric_limits<int32_t>::max()
                               : -value;
    return static_cast<int32_t>(value);
}

ParamTrack::ParamTrack() : ParamTrack(0) {}

ParamTrack::ParamTrack(int32_t initial)
    : current(initial), value0(initial), value1(initial), start(0), length(1), mode(kConstant), loopmode(kStop) {}

void ParamTrack::applySettings(const ParamSettings& settings, int32_t time) {
    if (const int32_t code = wordCode(settings.mode, kModeWords); code >= 0) mode = code;
    if (const int32_t code = wordCode(settings.loopmode, kLoopWords); code >= 0) loopmode = code;
    if (!settings.length.empty()) {
        start = time;
        const int32_t n = parseParamNumber(settings.length);
        length = n > 0 ? n : 1;
    }
    value0 = settings.value0.empty() ? current : parseParamNumber(settings.value0);
    if (!settings.value1.empty()) value1 = parseParamNumber(settings.value1);
}

void ParamTrack::evaluate(int32_t time) {
    // The fields are public; a length below 1 counts as 1, as applySettings makes it.
    const int32_t L = length > 0 ? length : 1;
    const int32_t e = foldElapsed(zm::wrapSub(time, start), L, loopmode);
    const double span = zm::wrapSub(value1, value0);
    switch (mode) {
    case kConstant: current = value0; break;
    case kLinear: current = zm::wrapAdd(value0, zm::wrapMul(zm::wrapSub(value1, value0), e) / L); break;
    case kSmooth: {
        const double x = e * kPi / L - kHalfPi;
        current = zm::wrapAdd(value0, zm::truncToInt32(span * ((std::sin(x) + 1) * 0.5)));
        break;
    }
    case kFast: {
        const double q = (static_cast<double>(L) - e) / L;
        current = zm::wrapAdd(value0, zm::truncToInt32((1 - q * q) * span));
        break;
    }
    case kSlow: {
        const double q = static_cast<double>(e) / L;
        current = zm::wrapAdd(value0, zm::truncToInt32(span * (q * q)));
        break;
    }
    case kSin:
    case kCos: {
        const double angle = zm::wrapMul(2, e) * kPi / L;
        const double wave = mode == kSin ? std::sin(angle) : std::cos(angle);
        current = zm::wrapAdd(value0, zm::truncToInt32(value1 * wave));
        break;
    }
    default: break;  // an unknown mode code keeps the last value
    }
}

const char* trackModeName(int32_t mode) {
    return mode >= 0 && mode < static_cast<int32_t>(std::size(kModeWords)) ? kModeWords[mode] : "?";
}

const char* trackLoopModeName(int32_t loopmode) {
    return loopmode >= 0 && loopmode < static_cast<int32_t>(std::size(kLoopWords)) ? kLoopWords[loopmode] : "?";
}
