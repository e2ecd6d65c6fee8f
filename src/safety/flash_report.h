#pragma once
// What a flash check found, second by second, and its readable form.
//
// Seconds are counted from the first frame analysed. A flash is a pair of
// opposing transitions: a second's flashes are its transitions halved,
// rounded down (a lone transition is not a flash). Three kinds are counted
// apart: general flashes (luminance), red flashes by the (R - G - B) x 320
// test, and red flashes by the u'v' chromaticity test.

#include <functional>
#include <ostream>
#include <string>
#include <vector>

struct FlashCounts {
    int general = 0;
    int red = 0;        // by (R - G - B) x 320
    int redChroma = 0;  // by the u'v' chromaticity of a saturated red
    int most() const;
};

struct SecondResult {
    // The transitions made in this second and the flashes they make (the
    // most of any one 10-degree field).
    FlashCounts transitions, flashes;
    // The flashes of the worst one-second window that overlaps this second.
    FlashCounts worstWindow;
    // Four or more transitions a second, held for four seconds within five.
    bool extended = false;
    // Part of a run of seconds with flashes that lasts longer than five seconds.
    bool longSequence = false;
    // The frames that show moving regular stripes (pattern_finder.h).
    int patternFrames = 0;

    // The verdict: more than three flashes, of any kind, in a one-second
    // window that overlaps this second. Extended flashing and long runs are
    // reported beside it.
    bool fails() const { return worstWindow.most() > 3; }
};

// A run of consecutive seconds, each with at least one flash.
struct FlashSequence {
    long firstSecond = 0;
    long seconds = 0;
};

struct FlashReport {
    int framesPerSecond = 0;
    long frames = 0;
    int width = 0, height = 0;
    std::vector<SecondResult> seconds;
    std::vector<FlashSequence> longSequences;  // the runs longer than five seconds

    long failingSeconds() const;
    bool passes() const { return failingSeconds() == 0; }
    bool hasExtendedFlashing() const;
    FlashCounts worstWindow() const;  // the most of each kind over the whole clip
};

// Writes the report for people: the seconds with flashes or stripes, each
// with the caller's label for it (a scene, a music position), then the
// failing seconds, the extended flashing, the long runs, the stripes and the
// verdict.
using SecondLabel = std::function<std::string(long second)>;
void writeFlashReport(std::ostream& out, const FlashReport& report, const SecondLabel& label = {});

// The seconds over three flashes, and those of extended flashing, as ranges
// in one word: "44-48,53-55", or "none".
std::string failingSeconds(const FlashReport& report);
std::string extendedSeconds(const FlashReport& report);
