#include "web/exact_show.h"

#include <iostream>

#include "app/data_wait.h"
#include "platform/web/web_screen.h"

ExactShow::ExactShow(const ShowDefinition& show, StartPoint start)
    : definition_(show), start_(std::move(start)), messages_(&box_, std::cerr) {}

bool ExactShow::start() {
    if (!timeline_.loadModuleOf(*definition_.assets)) {
        messages_.showMessage("Module not found.");
        return false;
    }
    scenes_ = showScenes(timeline_, definition_.script);
    OfflineSettings settings(definition_);
    settings.start = start_;
    settings.endMs = timeline_.lengthMs();
    show_ = std::make_unique<OfflineShow>(settings, messages_);
    return show_->start();
}

int ExactShow::advance(int frames) {
    int made = 0;
    while (made < frames) {
        if (!advanced_ && !show_->advance()) break;
        advanced_ = true;
        // The music stands at the frame's position: the rows it runs are known.
        waiting_ = !frameDataReady(definition_, show_->demo(), show_->musicPosition());
        if (waiting_) break;
        advanced_ = false;
        if (!show_->draw()) break;
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
