#include "platform/portable/silent_audio_output.h"

#include <algorithm>
#include <chrono>
#include <vector>

namespace {

using SteadyClock = std::chrono::steady_clock;
constexpr auto kPullInterval = std::chrono::milliseconds(5);
constexpr uint64_t kMaxPullFrames = 1024;

}  // namespace

SilentAudioOutput::~SilentAudioOutput() { close(); }

bool SilentAudioOutput::open(int rate, AudioSource& source) {
    if (thread_.joinable()) return true;
    source_ = &source;
    rate_ = rate;
    stopping_ = false;
    pulledFrames_ = 0;
    thread_ = std::thread([this] { run(); });
    return true;
}

void SilentAudioOutput::close() {
    if (!thread_.joinable()) return;
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

void SilentAudioOutput::setPaused(bool paused) {
    {
        std::lock_guard lock(mutex_);
        paused_ = paused;
    }
    wake_.notify_all();
}

// Pulls as many frames as real time has made due since the start, not
// counting paused time.
void SilentAudioOutput::run() {
    std::vector<float> scratch(2 * kMaxPullFrames);
    auto origin = SteadyClock::now();
    uint64_t pulledAtOrigin = 0;
    std::unique_lock lock(mutex_);
    while (!stopping_) {
        if (paused_) {
            wake_.wait(lock, [this] { return stopping_ || !paused_; });
            origin = SteadyClock::now();
            pulledAtOrigin = pulledFrames_.load();
            continue;
        }
        wake_.wait_for(lock, kPullInterval);
        if (stopping_ || paused_) continue;
        const auto elapsed = std::chrono::duration_cast<std::chrono::microseconds>(SteadyClock::now() - origin);
        const uint64_t due = pulledAtOrigin + static_cast<uint64_t>(elapsed.count()) * rate_ / 1000000;
        lock.unlock();
        for (uint64_t pulled = pulledFrames_.load(); pulled < due; pulled = pulledFrames_.load()) {
            const uint64_t frames = std::min(due - pulled, kMaxPullFrames);
            source_->fill(scratch.data(), static_cast<int>(frames));
            pulledFrames_ += frames;
        }
        lock.lock();
    }
}
