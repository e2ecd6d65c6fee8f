#include "rendered_soundtrack.h"

#include <cstdlib>
#include <cstring>

#include "assets/resources.h"
#include "show/demo_script.h"

namespace songcheck {
namespace {

bool isControl(const ScriptEntry& e) {
    return e.argument != nullptr && std::strcmp(e.target, "blitter") == 0 && std::strcmp(e.command, "setparam") == 0 &&
           std::strstr(e.argument, "param=control ") != nullptr;
}

int valueOf(const char* argument, const char* key) {
    const char* at = std::strstr(argument, key);
    return at != nullptr ? std::atoi(at + std::strlen(key)) : -1;
}

}  // namespace

std::vector<uint8_t> loadModuleBytes() {
    std::vector<uint8_t> buffer(kStartupBuffer);
    const uint32_t length = loadCompressedResource(buffer.data(), kStartupBuffer, 189);
    buffer.resize(length);
    return buffer;
}

bool renderAsShown(const std::vector<uint8_t>& bytes, RenderedSong& song) {
    ModulePlayer player;
    if (!player.load(bytes.data(), bytes.size())) return false;
    player.setGainMillibel(masterVolumeToMillibel(250));
    song = renderSong(player, kRate);
    return true;
}

std::vector<SongPosition> flashRows() {
    std::vector<SongPosition> rows;
    for (const ScriptEntry& e : demoScript()) {
        if (!isControl(e)) continue;
        const int value0 = valueOf(e.argument, "value0=");
        if (value0 == 1024 || value0 == 512) rows.push_back(e.position());
    }
    return rows;
}

std::vector<SongPosition> fadeRows() {
    std::vector<SongPosition> rows;
    bool mul = false;
    for (const ScriptEntry& e : demoScript()) {
        if (e.argument != nullptr && std::strcmp(e.target, "blitter") == 0 && std::strcmp(e.command, "setmode") == 0) {
            mul = std::strcmp(e.argument, "mul") == 0;
        }
        if (!mul || !isControl(e)) continue;
        const int from = valueOf(e.argument, "value0="), to = valueOf(e.argument, "value1=");
        if ((from == 256 && to == 0) || (from == 0 && to == 256)) rows.push_back(e.position());
    }
    return rows;
}

std::vector<SongPosition> sceneRows() {
    std::vector<SongPosition> rows;
    for (const ScriptEntry& e : demoScript()) {
        if (std::strcmp(e.target, "demosys") == 0 && std::strcmp(e.command, "seteffect") == 0) rows.push_back(e.position());
    }
    return rows;
}

std::vector<SongPosition> typingRows() {
    std::vector<SongPosition> rows;
    for (const ScriptEntry& e : demoScript()) {
        if (e.argument == nullptr || std::strcmp(e.target, "spriteefu") != 0 || std::strstr(e.argument, "param=len") == nullptr) continue;
        const bool more = valueOf(e.argument, "value0=") > 0;
        if (more && (rows.empty() || rows.back() != e.position())) rows.push_back(e.position());
    }
    return rows;
}

void RenderedSoundtrack::SetUpTestSuite() {
    bytes_ = new std::vector<uint8_t>(loadModuleBytes());
    player_ = new ModulePlayer();
    if (!player_->load(bytes_->data(), bytes_->size())) return;
    player_->setGainMillibel(masterVolumeToMillibel(250));
    song_ = new RenderedSong(renderSong(*player_, kRate));
    highBand_ = new Stereo(highpassed(song_->audio, 2000.0));
}

void RenderedSoundtrack::TearDownTestSuite() {
    delete highBand_;
    delete song_;
    delete player_;
    delete bytes_;
    highBand_ = nullptr;
    song_ = nullptr;
    player_ = nullptr;
    bytes_ = nullptr;
}

std::size_t RenderedSoundtrack::orderEnd(int order) {
    return order + 1 < static_cast<int>(song_->orderStarts.size()) ? song_->orderStarts[order + 1] : song_->songEnd;
}

double RenderedSoundtrack::orderRmsDb(int order) {
    return rmsDb(song_->audio, song_->orderStarts[order], orderEnd(order));
}

std::vector<uint8_t>* RenderedSoundtrack::bytes_ = nullptr;
ModulePlayer* RenderedSoundtrack::player_ = nullptr;
RenderedSong* RenderedSoundtrack::song_ = nullptr;
Stereo* RenderedSoundtrack::highBand_ = nullptr;

}  // namespace songcheck
