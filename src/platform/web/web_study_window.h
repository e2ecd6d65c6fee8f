#pragma once
// Study mode's window in a web page: the picture is painted onto the page's
// canvas (which the page enlarges by whole device pixels), and the page's
// keys, clicks, touches and focus changes are posted as inputs, to be taken
// at the next pass of the loop. A page cannot block: waiting returns at once,
// and the browser calls again at its next animation frame.

#include <deque>
#include <string_view>

#include "platform/study_window.h"

class WebStudyWindow : public StudyWindow {
public:
    void show(const uint32_t* pixels, int width, int height) override;
    bool pollInput(StudyInput& input) override;
    void waitForInput(int) override {}

    // Queues an input of the page for the next pollInput.
    void post(const StudyInput& input) { inputs_.push_back(input); }

    // A key by the browser's name of it (KeyboardEvent.key): " ", ".",
    // "ArrowLeft", "PageDown", "Escape"...; Other for keys study mode leaves alone.
    static StudyKey keyNamed(std::string_view name);

private:
    std::deque<StudyInput> inputs_;
};
