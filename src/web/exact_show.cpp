#include "web/exact_show.h"

#include <iostream>

#include "platform/web/web_screen.h"

ExactShow::ExactShow() : messages_(&box_, std::cerr) {}

bool ExactShow::start() {
    if (!timeline_.loadShowModule()) {
        messages_.showMessage("Module not found.");
        return false;
    }
    scenes_ = showScenes(timeline_, demoScript());
    OfflineSettings settings;
    settings.endMs = timeline_.lengthMs();
    show_ = std::make_unique<OfflineShow>(settings, messages_);
    return show_->start();
}

int ExactShow::advance(int frames) {
    int made = 0;
    while (made < frames && show_->nextFrame()) {
        show_->dropAudio();
        ++made;
    }
    if (made > 0) paintOnCanvas(show_->picture());
    return made;
}

std::string ExactShow::lastLine() {
    if (show_->framesMade() == 0) return {};
    return goldenLine(digestFrame(*show_, scenes_));
}
