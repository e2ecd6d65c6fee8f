#pragma once
// The show as the page plays it: the desktop's shell (the application, its
// window and the whole show) over the page's canvas, clock and Web Audio.
// The page calls frame() at each of its animation frames.

#include <memory>

#include "app/demo_app.h"
#include "app/seek.h"
#include "app/show_definition.h"
#include "app/user_messages.h"
#include "platform/music/streaming_music_player.h"
#include "platform/portable/virtual_clock.h"
#include "platform/web/web_audio_output.h"
#include "platform/web/web_clock.h"
#include "platform/web/web_message_box.h"
#include "platform/web/web_screen.h"

class LiveShow {
public:
    LiveShow(StartPoint start, const ShowDefinition& show);
    ~LiveShow();
    LiveShow(const LiveShow&) = delete;
    LiveShow& operator=(const LiveShow&) = delete;

    // Loads and starts the show at the start point. False after a failure,
    // which the page shows.
    bool start();
    // One frame: the music fed, the page's events handled, the picture
    // drawn. False once the show is over.
    bool frame();
    // The tab shown and focused, or not: hidden, the picture and the music
    // hold together; shown again, both go on where they stood.
    void setActive(bool active);
    // The picture upright (240 x 320, on a screen taller than wide) or
    // turned (320 x 240, as on the desktop); shown at once.
    void setUpright(bool upright) { screen_.setUpright(upright); }
    // Held, music and all, until the data its next frame needs arrives.
    bool waiting() const { return app_ && app_->waiting(); }
    // Where the music being heard is.
    SongPosition position() { return music_.position(); }

private:
    StartPoint start_;
    ShowDefinition show_;
    WebClock systemClock_;
    ShiftedClock clock_{systemClock_};  // reads the music's time once started part-way in
    WebScreen screen_;
    WebAudioOutput audio_;
    StreamingMusicPlayer music_{audio_};
    WebMessageBox box_;
    UserMessages messages_;
    std::unique_ptr<DemoApp> app_;
    bool active_ = true;
};
