#include "platform/music/streaming_music_player.h"

#include <algorithm>

#include "platform/music/module_player.h"

StreamingMusicPlayer::StreamingMusicPlayer(AudioOutput& output, SongLoader loader)
    : output_(output), loader_(std::move(loader)) {}

StreamingMusicPlayer::~StreamingMusicPlayer() { close(); }

bool StreamingMusicPlayer::init(int rate) {
    if (outputOpen_) return true;
    {
        std::lock_guard lock(mutex_);
        rate_ = rate;
        framesOut_ = 0;
        marks_.clear();
    }
    outputOpen_ = output_.open(rate, *this);
    return outputOpen_;
}

void StreamingMusicPlayer::close() {
    if (outputOpen_) output_.close();
    outputOpen_ = false;
}

bool StreamingMusicPlayer::loadSongMemory(const void* bytes, std::size_t length) {
    std::unique_ptr<Song> song = loader_(bytes, length);
    if (!song) return false;
    std::lock_guard lock(mutex_);
    song_ = std::move(song);
    playing_ = false;
    return true;
}

int StreamingMusicPlayer::type() {
    std::lock_guard lock(mutex_);
    return song_ ? song_->formatCode() : 0;
}

// The master volume scales the mix linearly with 256 as unity, so 250 is
// 20 log10(250/256) = -0.21 dB, libopenmpt's gain of -21 millibel; a pan
// separation of 0.7 keeps 70% of the module's stereo width, which is
// libopenmpt's stereo separation of 70 percent.
void StreamingMusicPlayer::setMasterVolume(int volume) {
    std::lock_guard lock(mutex_);
    if (song_) song_->setGainMillibel(masterVolumeToMillibel(volume));
}

void StreamingMusicPlayer::setPanSeparation(float separation) {
    std::lock_guard lock(mutex_);
    if (song_) song_->setStereoSeparationPercent(panSeparationToPercent(separation));
}

bool StreamingMusicPlayer::play() {
    std::lock_guard lock(mutex_);
    if (!song_) return false;
    if (start_ != SongPosition{}) song_->seek(start_.order, start_.row);
    playing_ = true;
    marks_.clear();
    lastRendered_ = start_;
    pastLastRow_ = false;
    songEnded_ = false;
    reported_ = start_;
    return true;
}

void StreamingMusicPlayer::setPaused(bool paused) { output_.setPaused(paused); }

void StreamingMusicPlayer::freeSong() {
    std::lock_guard lock(mutex_);
    song_.reset();
    playing_ = false;
    marks_.clear();
}

bool StreamingMusicPlayer::isFinished() {
    const uint64_t heard = output_.playedFrames();
    std::lock_guard lock(mutex_);
    return playing_ && songEnded_ && heard >= endFrame_;
}

int StreamingMusicPlayer::order() {
    const uint64_t heard = output_.playedFrames();
    std::lock_guard lock(mutex_);
    while (marks_.size() >= 2 && marks_[1].frame <= heard) marks_.pop_front();
    if (!marks_.empty() && marks_.front().frame <= heard) reported_ = std::max(reported_, marks_.front().position);
    return reported_.order;
}

int StreamingMusicPlayer::row() {
    std::lock_guard lock(mutex_);
    return reported_.row;
}

void StreamingMusicPlayer::fill(float* stereo, int frames) {
    std::lock_guard lock(mutex_);
    for (int done = 0; done < frames;) {
        const int chunk = std::min(kChunkFrames, frames - done);
        renderChunk(stereo + 2 * done, chunk);
        framesOut_ += static_cast<uint64_t>(chunk);
        done += chunk;
    }
}

void StreamingMusicPlayer::renderChunk(float* stereo, int frames) {
    std::fill(stereo, stereo + 2 * frames, 0.0f);
    if (!song_ || !playing_ || songEnded_) return;

    const SongPosition pastEnd{song_->orderCount(), 0};
    SongPosition position{song_->currentOrder(), song_->currentRow()};
    // A song position that goes back (or leaves the order list) means the
    // last row is over and only the tail is left.
    if (!pastLastRow_ && (position < lastRendered_ || position.order < 0 || position.order >= pastEnd.order))
        pastLastRow_ = true;
    if (pastLastRow_) position = pastEnd;
    if (marks_.empty() || marks_.back().position != position) marks_.push_back({framesOut_, position});
    lastRendered_ = position;

    const std::size_t rendered = song_->render(rate_, stereo, static_cast<std::size_t>(frames));
    if (rendered < static_cast<std::size_t>(frames)) {
        songEnded_ = true;
        endFrame_ = framesOut_ + rendered;
        if (!pastLastRow_) marks_.push_back({endFrame_, pastEnd});
        pastLastRow_ = true;
    }
}
