#include "platform/web/web_study_window.h"

#include "platform/web/web_screen.h"

void WebStudyWindow::show(const uint32_t* pixels, int width, int height) { paintOnCanvas(pixels, width, height); }

bool WebStudyWindow::pollInput(StudyInput& input) {
    if (inputs_.empty()) return false;
    input = inputs_.front();
    inputs_.pop_front();
    return true;
}

StudyKey WebStudyWindow::keyNamed(std::string_view name) {
    constexpr struct {
        std::string_view name;
        StudyKey key;
    } kKeys[] = {
        {" ", StudyKey::Space},         {".", StudyKey::Period},         {",", StudyKey::Comma},
        {"ArrowLeft", StudyKey::Left},  {"ArrowRight", StudyKey::Right}, {"ArrowUp", StudyKey::Up},
        {"ArrowDown", StudyKey::Down},  {"PageUp", StudyKey::PageUp},    {"PageDown", StudyKey::PageDown},
        {"Home", StudyKey::Home},       {"Escape", StudyKey::Escape},
    };
    for (const auto& key : kKeys)
        if (key.name == name) return key.key;
    return StudyKey::Other;
}
