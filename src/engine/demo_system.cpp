#include "engine/demo_system.h"

#include <algorithm>
#include <utility>

namespace {

// The player settings the show asks for.
constexpr int kMixRate = 44100;
constexpr int kPlayerRetries = 10;
constexpr uint32_t kRetryDelayMs = 100;
constexpr int kFormatIt = 4, kFormatMod = 1, kFormatS3m = 2;
constexpr int kMasterVolume = 250;
constexpr float kPanSeparation = 0.7f;
// Progress steps besides one per effect: font, grid tables, the set-up
// before them, the player and the module.
constexpr int kFixedProgressSteps = 5;

const char* const kBlitterName = "blitter";
const char* const kDemoName = "demosys";

// A row is due once the music has reached its position.
bool isDue(const ScriptEntry& entry, SongPosition now) { return entry.position() <= now; }

}  // namespace

DemoSystem::DemoSystem(DemoServices services, std::vector<EffectMaker> effects, std::span<const ScriptEntry> script)
    : services_(services), makers_(std::move(effects)), script_(script) {}

// Effects still registered (start-up failed, or shutdown never ran) are freed
// with the registry.
DemoSystem::~DemoSystem() = default;

CommandTarget* DemoSystem::find(const std::string& name) const {
    const auto it = registry_.find(name);
    return it == registry_.end() ? nullptr : it->second;
}

std::vector<std::string> DemoSystem::registeredNames() const {
    std::vector<std::string> names;
    for (const auto& [name, target] : registry_) names.push_back(name);
    return names;
}

// Only effects answer to effect names: "seteffect blitter" finds nothing.
Effect* DemoSystem::findEffect(const std::string& name) const {
    const auto it = effects_.find(name);
    return it == effects_.end() ? nullptr : it->second.get();
}

bool DemoSystem::fail(const char* message) {
    services_.dialogs.showMessage(message);
    return false;
}

bool DemoSystem::loadAll() {
    backBuffer_ = std::make_unique<uint16_t[]>(kScreenPixels);  // black until drawn
    scriptCursor_ = 0;

    for (const EffectMaker& maker : makers_) {
        auto effect = maker.create();
        registry_[maker.name] = effect.get();
        effects_[maker.name] = std::move(effect);
    }

    loading_ = services_.window.createLoadingProgress();
    loading_->setRange(0, kFixedProgressSteps + static_cast<int>(effects_.size()));
    loading_->advance(1);

    if (!services_.assets.loadFont()) return fail("Loading font failed.");
    loading_->advance(1);

    services_.assets.buildGridTables();
    loading_->advance(1);

    for (auto& [name, effect] : effects_) {
        if (!effect->load()) return fail("Loading effect failed.");
        loading_->advance(1);
    }

    if (!initMusic()) return fail("Initializing fmod failed.");
    loading_->advance(1);

    if (!loadMusic()) return false;
    loading_->advance(1);

    loading_->close();
    loading_.reset();
    return true;
}

// The audio output sometimes needs a moment to become free: ten retries.
bool DemoSystem::initMusic() {
    for (int attempt = 0; attempt <= kPlayerRetries; ++attempt) {
        if (attempt > 0) services_.clock.sleep(kRetryDelayMs);
        if (services_.music.init(kMixRate)) return true;
    }
    return false;
}

bool DemoSystem::loadMusic() {
    MusicPlayer& music = services_.music;
    {
        const std::vector<uint8_t> module = services_.assets.loadMusicModule();
        if (module.empty()) return fail("Module not found.");
        songLoaded_ = music.loadSongMemory(module.data(), module.size());
        if (!songLoaded_) return fail("Loading module failed.");
    }
    const int format = music.type();
    if (format != kFormatIt) music.setMasterVolume(kMasterVolume);
    if (format == kFormatMod || format == kFormatS3m) music.setPanSeparation(kPanSeparation);
    return true;
}

bool DemoSystem::start() {
    presenter_ = services_.window.attachDemo(*this);
    if (!presenter_) return fail("Starting blitter failed.");
    registry_[kBlitterName] = presenter_;
    registry_[kDemoName] = this;
    if (!services_.music.play()) return fail("Playing module failed.");
    startTick_ = services_.clock.ticks();
    running_ = true;
    started_ = true;
    return true;
}

void DemoSystem::shutdown() {
    if (shutDown_) return;
    shutDown_ = true;
    running_ = false;

    if (songLoaded_) services_.music.freeSong();
    songLoaded_ = false;
    services_.music.close();

    backBuffer_.reset();

    currentEffect_ = nullptr;
    for (auto& [name, effect] : effects_) {
        if (effect->initialised) effect->deinit();
        registry_.erase(name);
        effect.reset();
    }
    effects_.clear();

    services_.assets.releaseFont();
    services_.window.close();
}

void DemoSystem::frame() {
    if (!running_) return;
    if (services_.music.isFinished()) {
        shutdown();
        return;
    }
    const int32_t t = static_cast<int32_t>(services_.clock.ticks() - startTick_);
    const SongPosition now = services_.music.position();
    heldForData_ = frameGate_ && !frameGate_(now);
    if (heldForData_) return;

    // Rows addressed to targets that are not registered are skipped. Once a
    // row has shut the show down, the rest wait for nothing.
    while (running_ && scriptCursor_ < static_cast<int32_t>(script_.size()) &&
           isDue(script_[scriptCursor_], now))
        dispatch(script_[scriptCursor_++], t);
    if (!running_) return;

    if (currentEffect_) currentEffect_->render(t, backBuffer_.get());
    presenter_->update(t);
    presenter_->present(backBuffer_.get());
}

void DemoSystem::dispatch(const ScriptEntry& entry, int32_t time) {
    if (interrupted_ && ++rowsRun_ % kRowsBetweenChecks == 0 && interrupted_()) {
        shutdown();
        return;
    }
    if (CommandTarget* target = find(entry.target))
        target->handleCommand(time, entry.command, entry.argument ? entry.argument : "");
}

void DemoSystem::pause() {
    if (!started_ || shutDown_ || paused_) return;
    paused_ = true;
    pauseTick_ = services_.clock.ticks();
    running_ = false;
    services_.music.setPaused(true);
}

void DemoSystem::resume() {
    if (!paused_ || shutDown_) return;
    paused_ = false;
    services_.music.setPaused(false);
    running_ = true;
    startTick_ += services_.clock.ticks() - pauseTick_;
}

void DemoSystem::initEffect(Effect& effect, bool makeCurrent) {
    if (effect.init()) {
        if (makeCurrent) currentEffect_ = &effect;
        return;
    }
    services_.dialogs.showMessage("Initializing effect failed.");
    if (makeCurrent) currentEffect_ = nullptr;
    shutdown();
}

DemoSnapshot DemoSystem::snapshot() {
    DemoSnapshot saved;
    if (shutDown_ || !backBuffer_) return saved;
    saved.scriptCursor = scriptCursor_;
    for (const auto& [name, effect] : effects_)
        if (effect.get() == currentEffect_) saved.currentEffect = name;
    saved.backBuffer.assign(backBuffer_.get(), backBuffer_.get() + kScreenPixels);
    for (const auto& [name, target] : registry_)
        if (target != this) saved.targets[name] = target->saveState();
    return saved;
}

bool DemoSystem::restore(const DemoSnapshot& snapshot) {
    if (!started_ || shutDown_ || !backBuffer_ || snapshot.backBuffer.size() != kScreenPixels) return false;
    for (const auto& [name, target] : registry_) {
        if (target == this) continue;
        const auto saved = snapshot.targets.find(name);
        if (saved == snapshot.targets.end() || !target->restoreState(saved->second.get())) return false;
    }
    scriptCursor_ = snapshot.scriptCursor;
    currentEffect_ = findEffect(snapshot.currentEffect);
    std::copy(snapshot.backBuffer.begin(), snapshot.backBuffer.end(), backBuffer_.get());
    running_ = !paused_;  // held by a "stop" row until now, perhaps
    return true;
}

void DemoSystem::handleCommand(int32_t, const std::string& command, const std::string& argument) {
    if (command == "seteffect") {
        Effect* effect = findEffect(argument);
        if (!effect) {
            currentEffect_ = nullptr;
        } else if (effect->initialised) {
            currentEffect_ = effect;
        } else {
            initEffect(*effect, true);
        }
    } else if (command == "init") {
        Effect* effect = findEffect(argument);
        if (effect && !(dataMissing_ && dataMissing_(argument))) initEffect(*effect, false);
    } else if (command == "deinit") {
        if (Effect* effect = findEffect(argument)) effect->deinit();
    } else if (command == "stop") {
        if (holdOnStop_)
            running_ = false;
        else
            shutdown();
    }
}
