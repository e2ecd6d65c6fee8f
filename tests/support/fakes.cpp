#include "fakes.h"

#include <algorithm>

namespace fakes {

namespace {
std::string describe(const std::string& command, const std::string& argument, int32_t time) {
    return command + " " + argument + " @" + std::to_string(time);
}
}  // namespace

bool FakeMusicPlayer::init(int r) {
    ++initCalls;
    rate = r;
    return initCalls > initFailures;
}

bool FakeMusicPlayer::loadSongMemory(const void* bytes, std::size_t length) {
    song.assign(static_cast<const uint8_t*>(bytes), static_cast<const uint8_t*>(bytes) + length);
    songLoaded = loadSucceeds;
    return loadSucceeds;
}

std::vector<uint8_t> FakeStartupAssets::loadMusicModule() {
    ++moduleRequests;
    return module;
}

FakeEffect::~FakeEffect() {
    record_.deleted = true;
    record_.initialisedWhenDeleted = initialised;
}

void FakeEffect::handleCommand(int32_t time, const std::string& command, const std::string& argument) {
    record_.commands.push_back(describe(command, argument, time));
    if (log_) log_->add(name_ + " " + describe(command, argument, time));
}

bool FakeEffect::load() {
    ++record_.loads;
    return record_.loadResult;
}

bool FakeEffect::acquire() {
    ++record_.inits;
    if (log_) log_->add("init " + name_);
    return record_.initResult;
}

void FakeEffect::release() {
    ++record_.deinits;
    if (log_) log_->add("deinit " + name_);
}

void FakeEffect::draw(int32_t time, uint16_t* backBuffer) {
    ++record_.renders;
    record_.renderTimes.push_back(time);
    if (log_) log_->add("render " + name_ + " @" + std::to_string(time));
    std::fill(backBuffer, backBuffer + kScreenPixels, static_cast<uint16_t>(record_.renders));
}

std::vector<EffectMaker> fakeEffects(const std::vector<std::string>& names, std::map<std::string, EffectRecord>& records,
                                     CallLog* log) {
    std::vector<EffectMaker> makers;
    for (const std::string& name : names) {
        EffectRecord* record = &records[name];
        makers.push_back({name, [name, record, log] { return std::make_unique<FakeEffect>(name, *record, log); }});
    }
    return makers;
}

const std::vector<std::string>& showEffectNames() {
    static const std::vector<std::string> names = {"worldefu", "muljuefu", "tunnelefu", "tolppaefu", "voxelefu",
                                                   "spriteefu", "vesiefu", "fractalefu", "magnetefu", "logoefu",
                                                   "venkuefu", "loppuefu", "holeefu"};
    return names;
}

void FakePresenter::handleCommand(int32_t time, const std::string& command, const std::string& argument) {
    commands.push_back(describe(command, argument, time));
    if (log) log->add("blitter " + describe(command, argument, time));
}

void FakePresenter::update(int32_t time) {
    updates.push_back(time);
    if (log) log->add("update @" + std::to_string(time));
}

void FakePresenter::present(const uint16_t*) {
    ++presents;
    if (log) log->add("present");
}

FakeDisplay::FakeDisplay(int32_t xPitch, int32_t yPitch, uint16_t fill) {
    props_.width = kScreenWidth;
    props_.height = kScreenHeight;
    props_.xPitch = xPitch;
    props_.yPitch = yPitch;
    // Span of the addresses the picture's corners land on.
    const std::ptrdiff_t hx = xPitch >> 1, hy = yPitch >> 1;
    std::ptrdiff_t low = 0, high = 0;
    for (int x : {0, kScreenWidth - 1})
        for (int y : {0, kScreenHeight - 1}) {
            low = std::min(low, y * hy + x * hx);
            high = std::max(high, y * hy + x * hx);
        }
    memory.assign(static_cast<std::size_t>(high - low + 1), fill);
    baseOffset = -low;
}

uint16_t& FakeDisplay::at(int x, int y) {
    return memory[static_cast<std::size_t>(baseOffset + y * (props_.yPitch >> 1) + x * (props_.xPitch >> 1))];
}

}  // namespace fakes
