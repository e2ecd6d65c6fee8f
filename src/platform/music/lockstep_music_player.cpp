#include "platform/music/lockstep_music_player.h"

#include <algorithm>
#include <iterator>

#include "platform/music/module_player.h"

namespace {

// The most frames rendered in one go, so the end of the song is noticed
// close to where it happens.
constexpr uint64_t kChunkFrames = 1024;

}  // namespace

LockstepMusicPlayer::LockstepMusicPlayer(SongLoader loader) : loader_(std::move(loader)) {}

bool LockstepMusicPlayer::init(int rate) {
    rate_ = rate;
    return rate > 0;
}

bool LockstepMusicPlayer::loadSongMemory(const void* bytes, std::size_t length) {
    std::unique_ptr<Song> song = loader_(bytes, length);
    if (!song) return false;
    song_ = std::move(song);
    playing_ = false;
    return true;
}

int LockstepMusicPlayer::type() { return song_ ? song_->formatCode() : 0; }

// The same mapping as the player heard live: 256 is unity, and a pan
// separation of 0.7 keeps 70% of the module's stereo width.
void LockstepMusicPlayer::setMasterVolume(int volume) {
    if (song_) song_->setGainMillibel(masterVolumeToMillibel(volume));
}

void LockstepMusicPlayer::setPanSeparation(float separation) {
    if (song_) song_->setStereoSeparationPercent(panSeparationToPercent(separation));
}

bool LockstepMusicPlayer::play() {
    if (!song_) return false;
    if (start_ != SongPosition{}) song_->seek(start_.order, start_.row);
    playing_ = true;
    songEnded_ = false;
    pastLastRow_ = false;
    position_ = start_;
    rendered_ = 0;
    audio_.clear();
    reported_ = {start_, false};
    changes_.assign(1, {0, reported_});
    furthest_ = 0;
    return true;
}

void LockstepMusicPlayer::freeSong() {
    song_.reset();
    playing_ = false;
}

void LockstepMusicPlayer::renderUntil(uint64_t frames) {
    if (!song_ || !playing_) return;
    if (frames <= furthest_) {
        // The last change at or before this request.
        const auto after = std::upper_bound(changes_.begin(), changes_.end(), frames,
                                            [](uint64_t request, const Change& c) { return request < c.request; });
        reported_ = std::prev(after)->reading;
        return;
    }
    const SongPosition pastEnd{song_->orderCount(), 0};
    while (!songEnded_ && rendered_ < frames) {
        const std::size_t want = static_cast<std::size_t>(std::min(kChunkFrames, frames - rendered_));
        const std::size_t before = audio_.size();
        audio_.resize(before + 2 * want);
        const std::size_t made = song_->render(rate_, audio_.data() + before, want);
        audio_.resize(before + 2 * made);
        rendered_ += made;

        // A position that goes back, or leaves the order list, means the
        // last row is over and only the tail of its sound is left.
        const SongPosition now{song_->currentOrder(), song_->currentRow()};
        if (now < position_ || now.order < 0 || now.order >= pastEnd.order) pastLastRow_ = true;
        if (made < want) {
            songEnded_ = true;
            pastLastRow_ = true;
        }
        position_ = pastLastRow_ ? pastEnd : now;
    }
    note(frames);
}

void LockstepMusicPlayer::note(uint64_t request) {
    reported_ = {position_, songEnded_};
    furthest_ = request;
    if (!(changes_.back().reading == reported_)) changes_.push_back({request, reported_});
}

void LockstepMusicPlayer::takeAudio(std::vector<float>& into) {
    into.insert(into.end(), audio_.begin(), audio_.end());
    audio_.clear();
}
