#include "safety/flash_report.h"

#include <algorithm>
#include <cstdio>

int FlashCounts::most() const { return std::max({general, red, redChroma}); }

long FlashReport::failingSeconds() const {
    return std::count_if(seconds.begin(), seconds.end(), [](const SecondResult& s) { return s.fails(); });
}

bool FlashReport::hasExtendedFlashing() const {
    return std::any_of(seconds.begin(), seconds.end(), [](const SecondResult& s) { return s.extended; });
}

FlashCounts FlashReport::worstWindow() const {
    FlashCounts worst;
    for (const SecondResult& s : seconds) {
        worst.general = std::max(worst.general, s.worstWindow.general);
        worst.red = std::max(worst.red, s.worstWindow.red);
        worst.redChroma = std::max(worst.redChroma, s.worstWindow.redChroma);
    }
    return worst;
}

namespace {

// The seconds that match, as ranges: "3-4, 10".
template <typename Match>
std::string secondRanges(const std::vector<SecondResult>& seconds, Match match, const char* between = ", ") {
    std::string text;
    const long total = static_cast<long>(seconds.size());
    for (long s = 0; s < total;) {
        if (!match(seconds[s])) {
            ++s;
            continue;
        }
        long end = s;
        while (end + 1 < total && match(seconds[end + 1])) ++end;
        if (!text.empty()) text += between;
        text += std::to_string(s);
        if (end > s) {
            text += '-';
            text += std::to_string(end);
        }
        s = end + 1;
    }
    return text.empty() ? "none" : text;
}

}  // namespace

std::string failingSeconds(const FlashReport& report) {
    return secondRanges(report.seconds, [](const SecondResult& s) { return s.fails(); }, ",");
}

std::string extendedSeconds(const FlashReport& report) {
    return secondRanges(report.seconds, [](const SecondResult& s) { return s.extended; }, ",");
}

namespace {

std::string verdict(const SecondResult& s) {
    std::string text = s.fails() ? "FAIL" : "pass";
    if (s.extended) text += ", extended";
    if (s.longSequence) text += ", long run";
    if (s.patternFrames > 0) text += ", stripes";
    return text;
}

}  // namespace

void writeFlashReport(std::ostream& out, const FlashReport& report, const SecondLabel& label) {
    const long total = static_cast<long>(report.seconds.size());
    out << "Flash check: " << report.frames << " frames of " << report.width << " x " << report.height << " at "
        << report.framesPerSecond << " a second (" << total << " s)\n"
        << "Flashes (general / red / red by u'v') in each second and in its worst one-second window;\n"
        << "seconds without a flash in or around them, or stripes, are left out.\n\n"
        << "  second   flashes     worst  verdict\n";
    char line[96];
    for (long s = 0; s < total; ++s) {
        const SecondResult& second = report.seconds[s];
        if (second.flashes.most() == 0 && second.worstWindow.most() == 0 && second.patternFrames == 0) continue;
        std::snprintf(line, sizeof line, "  %6ld  %2d %2d %2d  %2d %2d %2d  %-20s", s, second.flashes.general,
                      second.flashes.red, second.flashes.redChroma, second.worstWindow.general,
                      second.worstWindow.red, second.worstWindow.redChroma, verdict(second).c_str());
        std::string text = line;
        if (label) {
            text += ' ';
            text += label(s);
        }
        text.erase(text.find_last_not_of(' ') + 1);
        out << text << "\n";
    }
    const FlashCounts worst = report.worstWindow();
    out << "\nWorst one-second window: " << worst.general << " general, " << worst.red << " red, " << worst.redChroma
        << " red by u'v' flashes\n"
        << "Over three flashes in a second: "
        << secondRanges(report.seconds, [](const SecondResult& s) { return s.fails(); }) << "\n"
        << "Extended flashing (4 or more transitions a second, 4 seconds in 5): "
        << secondRanges(report.seconds, [](const SecondResult& s) { return s.extended; }) << "\n"
        << "Flashing for longer than 5 seconds: "
        << secondRanges(report.seconds, [](const SecondResult& s) { return s.longSequence; }) << "\n"
        << "Moving stripes (more than 5 light-dark pairs across a field): "
        << secondRanges(report.seconds, [](const SecondResult& s) { return s.patternFrames > 0; }) << "\n"
        << "Verdict: "
        << (report.passes() ? "PASS" : "FAIL, " + std::to_string(report.failingSeconds()) + " of " +
                                           std::to_string(total) + " seconds over three flashes")
        << (report.hasExtendedFlashing() ? ", with extended flashing" : "") << "\n";
}
