#pragma once
// zemra --bench: the whole show rendered offline with no output, timed frame
// by frame. Prints for each effect the mean and 99th-percentile milliseconds
// of drawing one of its frames (the script rows, the effect, the blitter),
// the same for the music rendered in lockstep before each frame, then the
// whole show's frames per second and its speed relative to real time on a
// line ending in "123.4x real time".

#include <ostream>
#include <string>
#include <vector>

#include "app/offline_show.h"

struct EffectTimes {
    std::string effect;  // "(none)" while no effect is shown; "music" for the music
    std::vector<double> frameMs;
};

// The mean and the 99th percentile (nearest rank) of ms; 0 for none.
double meanOf(const std::vector<double>& ms);
double percentileOf(std::vector<double> ms, double percent);

// Runs the benchmark; the exit status (1 when the show failed to start or
// gave a failure message part-way).
int runBench(const OfflineSettings& settings, std::ostream& out, std::ostream& err);
