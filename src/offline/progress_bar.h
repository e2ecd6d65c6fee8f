#pragma once
// The render's progress on the terminal, redrawn in place:
//   [#########...........]  5321/13056  40.8%  212.4 fps  0:36 left

#include <chrono>
#include <ostream>
#include <string>

class ProgressBar {
public:
    // live: the stream is a terminal, where the bar is redrawn in place;
    // otherwise only the final state is written.
    ProgressBar(std::ostream& out, long total, bool live);

    // Redraws with `done` frames made, at most a few times a second.
    void update(long done);
    // Draws the final state and ends the line.
    void finish(long done);

    // The bar's text for done of total frames after elapsed seconds.
    static std::string text(long done, long total, double elapsedSeconds);

private:
    using Clock = std::chrono::steady_clock;
    double elapsed() const;

    std::ostream& out_;
    long total_;
    bool live_;
    Clock::time_point started_ = Clock::now();
    Clock::time_point drawn_{};
};
