#include "app/offline_show.h"

#include <algorithm>

OfflineShow::OfflineShow(OfflineSettings settings, Dialogs& dialogs)
    : settings_(std::move(settings)),
      dialogs_(dialogs),
      screen_(settings_.orientation),
      window_(screen_, settings_.show.gentle) {}

OfflineShow::~OfflineShow() = default;

bool OfflineShow::start() {
    const StartPoint& from = settings_.start;
    demo_ = makeShow(settings_.show, window_, clock_, music_, dialogs_, remainingScript(settings_.show.script, from));
    music_.setStartPosition(from.position);
    demo_->setInterruptCheck(interrupted_);
    demo_->setHoldOnStop(settings_.holdOnStop);
    if (!demo_->loadAll()) return false;
    clock_.set(0);  // the show's time is then the clock's
    if (!demo_->start()) return false;
    runRowsBefore(*demo_, settings_.show.script, from);
    return demo_->running();
}

long OfflineShow::frameCount() const {
    const int64_t span = std::max<int64_t>(0, int64_t{settings_.endMs} - settings_.start.timeMs);
    // Frame k belongs to the range while k / fps < span / 1000.
    return static_cast<long>((span * settings_.fps + 999) / 1000);
}

uint64_t OfflineShow::audioFor(long frames) const {
    const int64_t rate = music_.rate();
    const int64_t span = std::max<int64_t>(0, int64_t{settings_.endMs} - settings_.start.timeMs);
    return static_cast<uint64_t>(std::min(int64_t{frames} * rate / settings_.fps, span * rate / 1000));
}

bool OfflineShow::advance() {
    if (!demo_ || !demo_->running() || frames_ >= frameCount()) return false;
    const int64_t k = frames_;
    frameTime_ = static_cast<int32_t>(settings_.start.timeMs + k * 1000 / settings_.fps);
    clock_.set(static_cast<uint32_t>(frameTime_));
    // Up to and including the sample at the frame's moment, so a row that
    // begins exactly then is already playing.
    music_.renderUntil(musicFor(frames_));
    return true;
}

bool OfflineShow::draw() {
    const long shownBefore = screen_.framesShown();
    demo_->frame();
    if (screen_.framesShown() == shownBefore) return false;  // it stopped instead
    ++frames_;
    return true;
}

ShowSnapshot OfflineShow::snapshot() {
    ShowSnapshot saved;
    if (!demo_ || !demo_->running()) return saved;
    saved.frames = frames_;
    saved.frameTime = frameTime_;
    saved.demo = demo_->snapshot();
    const PictureSurface& shown = screen_.surface();
    saved.picture.assign(shown.pixels(), shown.pixels() + shown.width() * shown.height());
    return saved;
}

bool OfflineShow::restore(const ShowSnapshot& snapshot) {
    PictureSurface& shown = screen_.surface();
    if (!demo_ || snapshot.frames < 1 ||
        snapshot.picture.size() != static_cast<std::size_t>(shown.width() * shown.height()) ||
        !demo_->restore(snapshot.demo))
        return false;
    frames_ = snapshot.frames;
    frameTime_ = snapshot.frameTime;
    clock_.set(static_cast<uint32_t>(frameTime_));
    music_.renderUntil(musicFor(frames_ - 1));  // reads the position of the snapshot's frame again
    std::copy(snapshot.picture.begin(), snapshot.picture.end(), shown.pixels());
    dropAudio();
    return true;
}

void OfflineShow::finish() {
    if (!demo_) return;
    music_.renderUntil(audioLimit());
    demo_->shutdown();
}

namespace {

// Rounds half away from zero, as lround does, without a library call per sample.
int16_t toPcm16(float sample) {
    const float scaled = std::clamp(sample, -1.0f, 1.0f) * 32767.0f;
    return static_cast<int16_t>(scaled + (scaled < 0.0f ? -0.5f : 0.5f));
}

}  // namespace

void OfflineShow::takeAudio(std::vector<int16_t>& samples) {
    music_.takeAudio(pending_);
    const uint64_t wanted = audioLimit() - std::min(audioLimit(), audioHandedOut_);
    const std::size_t count = static_cast<std::size_t>(std::min<uint64_t>(wanted, pending_.size() / 2));
    samples.resize(2 * count);
    std::transform(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(2 * count), samples.begin(), toPcm16);
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(2 * count));
    audioHandedOut_ += count;
}

void OfflineShow::dropAudio() {
    music_.takeAudio(pending_);
    pending_.clear();
}
