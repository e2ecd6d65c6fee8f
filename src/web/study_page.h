#pragma once
// Study mode in the page: the desktop's study mode (the session, the view
// with its panel and timeline, the controls and the loop, all of src/study)
// over the page's canvas, clock and Web Audio. The page posts its inputs
// and calls pass() at each of its animation frames.
//
// The show is made landscape whichever way the screen is held: on a screen
// taller than wide the view shows it turned upright with the panel below,
// so a turn only lays the view out anew, the frame and its history kept.

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "app/show_definition.h"
#include "app/timeline.h"
#include "app/user_messages.h"
#include "platform/music/study_sound.h"
#include "platform/web/web_audio_output.h"
#include "platform/web/web_clock.h"
#include "platform/web/web_message_box.h"
#include "platform/web/web_study_window.h"
#include "study/script_apply.h"
#include "study/study_loop.h"

class StudyPage {
public:
    explicit StudyPage(const ShowDefinition& show);
    ~StudyPage();
    StudyPage(const StudyPage&) = delete;
    StudyPage& operator=(const StudyPage&) = delete;

    // Opens study mode at `position` (inside the song), paused or playing,
    // laid out for an upright screen or not. False after a failure, which
    // the page has been shown.
    bool start(SongPosition position, bool paused, bool upright);
    // One animation frame: the inputs done, the show played on, the picture
    // drawn when it changed, the sound fed. False once study mode has ended
    // (Escape), and at every later call.
    bool pass();
    void post(const StudyInput& input) { window_.post(input); }
    // The panel below the picture (upright) or beside it, drawn at the next pass.
    void setUpright(bool upright);

    SongPosition position() const { return session_ ? session_->position() : SongPosition{}; }
    bool paused() const { return !session_ || session_->paused(); }
    bool onTimeline(int x, int y) const { return view_ && view_->clickTime(x, y).has_value(); }
    // How many frames are kept to step back among at once (the page's test
    // keeps one, to time the slowest step back).
    void keepFrames(int frames);
    // The golden-frame line of the frame shown, its number counted from the jump.
    std::string frameLine();

    // The page's script editor (editor_page.cpp): a text in place of the
    // script playing, from the position shown; empty when it plays, else its
    // problems, one a line ("script:LINE: message"), and the show as it was.
    std::string applyScript(std::string_view text);
    // The rows of the last text applied, with their lines; null before one.
    const ScriptTable* appliedScript() const;
    // The script row of the panel's "rows run last" line at (x, y).
    std::optional<std::size_t> rowAt(int x, int y) const;
    // Jumps to a position inside the song; false outside it.
    bool jumpTo(SongPosition position);

private:
    // The music follows the picture; what was queued ahead of the listener
    // is dropped at each new start.
    class PageSound : public SoundFollower {
    public:
        PageSound(StudySound& sound, WebAudioOutput& output) : sound_(sound), output_(output) {}
        void playFrom(SongPosition from, double seconds, SongPosition near) override;
        void setPaused(bool paused) override { sound_.setPaused(paused); }

    private:
        StudySound& sound_;
        WebAudioOutput& output_;
    };

    ShowDefinition show_;
    SongTimeline timeline_;
    WebClock clock_;
    WebMessageBox box_;
    UserMessages messages_;
    FailureWatch failures_;
    WebAudioOutput audio_;
    StudySound sound_;
    PageSound follower_;
    WebStudyWindow window_;
    std::unique_ptr<StudyView> view_;
    std::unique_ptr<StudySession> session_;
    std::unique_ptr<StudyLoop> loop_;
    std::unique_ptr<ScriptApply> apply_;
};

// The study mode the page has open, or null (web_main.cpp keeps it).
StudyPage* openStudyPage();
