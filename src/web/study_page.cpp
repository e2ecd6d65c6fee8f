#include "web/study_page.h"

#include <iostream>
#include <vector>

#include "app/golden_frames.h"

namespace {

// The show's state is kept every eight frames near the frame shown: a phone
// makes the few frames from there to any step back's at once, where the
// desktop's two seconds of frames would take it a second or more.
constexpr long kSnapshotFrames = 8;

// The picture as the view shows it: landscape beside the panel, or upright above it.
StudyLayout layoutFor(bool upright) {
    const SurfaceLayout landscape = surfaceLayout(Orientation::Landscape);
    if (upright) return {landscape.height, landscape.width, true};
    return {landscape.width, landscape.height, false};
}

}  // namespace

void StudyPage::PageSound::playFrom(SongPosition from, double seconds, SongPosition near) {
    output_.dropQueued();
    sound_.playFrom(from, seconds, near);
}

StudyPage::StudyPage(const ShowDefinition& show)
    : show_(show), messages_(&box_, std::cerr), failures_(messages_), sound_(audio_), follower_(sound_, audio_) {}

StudyPage::~StudyPage() {
    loop_.reset();
    session_.reset();
}

std::string StudyPage::applyScript(std::string_view text) {
    if (!session_ || !loop_) return "script: study mode is not open\n";
    const std::string problems = apply_->applyText(text, "script", *session_, *view_);
    loop_->redraw();
    return problems;
}

const ScriptTable* StudyPage::appliedScript() const {
    return apply_ && apply_->reloads() > 0 ? &apply_->playing() : nullptr;
}

std::optional<std::size_t> StudyPage::rowAt(int x, int y) const {
    return view_ ? view_->rowAt(x, y) : std::nullopt;
}

bool StudyPage::jumpTo(SongPosition position) {
    if (!session_ || !loop_ || !timeline_.contains(position)) return false;
    const bool jumped = session_->jumpTo(position);
    loop_->redraw();
    return jumped;
}

bool StudyPage::start(SongPosition position, bool paused, bool upright) {
    if (!timeline_.loadModuleOf(*show_.assets)) {
        messages_.showMessage("Module not found.");
        return false;
    }
    const StudyLayout layout = layoutFor(upright);
    view_ = std::make_unique<StudyView>(timeline_, show_.script, layout.pictureWidth, layout.pictureHeight,
                                        layout.panelBelow);
    // Without the page's sound (no Web Audio) study mode goes on silently,
    // as the desktop's does without a sound device.
    const std::vector<uint8_t> module = show_.assets->loadMusicModule();
    const bool withSound = !module.empty() && sound_.open(module.data(), module.size());
    session_ = std::make_unique<StudySession>(show_, timeline_, Orientation::Landscape, clock_, failures_,
                                              withSound ? &follower_ : nullptr);
    session_->setSnapshotFrames(kSnapshotFrames);
    session_->setPaused(paused);
    if (!session_->jumpTo(position) && failures_.failed) return false;
    apply_ = std::make_unique<ScriptApply>(timeline_, clock_);
    loop_ = std::make_unique<StudyLoop>(*session_, *view_, window_, [this] { return apply_->poll(*view_); });
    return true;
}

bool StudyPage::pass() {
    if (!loop_ || !loop_->pass()) return false;
    audio_.pump();
    return true;
}

void StudyPage::setUpright(bool upright) {
    if (!view_) return;
    view_->setLayout(layoutFor(upright));
    if (loop_) loop_->redraw();
}

void StudyPage::keepFrames(int frames) {
    if (session_) session_->setHistoryFrames(static_cast<std::size_t>(std::max(1, frames)));
}

std::string StudyPage::frameLine() {
    if (!session_) return {};
    FrameDigest digest;
    digest.frame = session_->frame();
    digest.position = session_->position();
    digest.timeMs = session_->timeMs();
    digest.scene = sceneAt(view_->scenes(), digest.position);
    digestPictures(digest, session_->backBuffer(), session_->picture());
    return goldenLine(digest);
}
