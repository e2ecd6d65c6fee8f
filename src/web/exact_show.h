#pragma once
// The page's exact mode: the show made frame by frame as the offline render
// makes it (frame k at k * 1000 / 60 ms after the start, the music rendered
// in lockstep and not played), each frame painted onto the canvas. Its frames are the
// desktop render's frames, and it gives their golden-frame lines, so the
// page can be checked against the native program.

#include <memory>
#include <string>
#include <vector>

#include "app/seek.h"
#include "app/timeline.h"
#include "app/user_messages.h"
#include "app/golden_frames.h"
#include "platform/web/web_message_box.h"

class ExactShow {
public:
    // From the start point on, as `zemra --render --start` makes it.
    ExactShow(const ShowDefinition& show, StartPoint start);
    // Loads and starts the show. False after a failure, which the page shows.
    bool start();
    // Makes up to `frames` more frames and paints the last one. The number
    // made: fewer once the show is over, or while the next frame waits for
    // its data (waiting()).
    int advance(int frames);
    bool waiting() const { return waiting_; }
    // The golden-frame line of the frame made last.
    std::string lastLine();

private:
    ShowDefinition definition_;
    StartPoint start_;
    WebMessageBox box_;
    UserMessages messages_;
    SongTimeline timeline_;
    std::vector<Scene> scenes_;
    std::unique_ptr<OfflineShow> show_;
    bool advanced_ = false;  // the clock and music are at the next frame, not yet drawn
    bool waiting_ = false;
};
