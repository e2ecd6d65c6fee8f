// The tracker module as a Song for the streaming music player.

#include <string>

#include "platform/music/module_player.h"
#include "platform/song.h"

namespace {

class ModuleSong : public Song {
public:
    bool load(const void* bytes, std::size_t length) { return player_.load(bytes, length); }

    int formatCode() const override {
        const std::string format = player_.formatName();
        if (format == "mod") return 1;
        if (format == "s3m") return 2;
        if (format == "xm") return 3;
        if (format == "it") return 4;
        return 0;
    }
    int orderCount() const override { return player_.orderCount(); }
    int currentOrder() const override { return player_.currentOrder(); }
    int currentRow() const override { return player_.currentRow(); }
    std::size_t render(int rate, float* stereo, std::size_t frames) override {
        return player_.renderFloat(rate, stereo, frames);
    }
    void setGainMillibel(int32_t millibel) override { player_.setGainMillibel(millibel); }
    void setStereoSeparationPercent(int32_t percent) override { player_.setStereoSeparationPercent(percent); }
    void seek(int order, int row) override { player_.seek(order, row); }

private:
    ModulePlayer player_;
};

}  // namespace

std::unique_ptr<Song> loadModuleSong(const void* bytes, std::size_t length) {
    auto song = std::make_unique<ModuleSong>();
    if (!song->load(bytes, length)) return nullptr;
    return song;
}
