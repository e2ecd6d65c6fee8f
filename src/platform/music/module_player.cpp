#include "platform/music/module_player.h"

#include <algorithm>
#include <cmath>
#include <libopenmpt/libopenmpt.h>

struct ModulePlayer::Impl {
    openmpt_module* module = nullptr;
    std::string messages;
    // Kept so that settings made before a load apply to the next module too.
    int32_t gainMillibel = 0;
    int32_t separationPercent = 100;

    static void collect(const char* message, void* user) {
        auto* text = static_cast<std::string*>(user);
        if (!text->empty()) *text += '\n';
        *text += message;
    }

    void applyRenderParams() {
        if (module == nullptr) return;
        openmpt_module_set_render_param(module, OPENMPT_MODULE_RENDER_MASTERGAIN_MILLIBEL, gainMillibel);
        openmpt_module_set_render_param(module, OPENMPT_MODULE_RENDER_STEREOSEPARATION_PERCENT, separationPercent);
    }

    ~Impl() { release(); }
    void release() {
        if (module != nullptr) openmpt_module_destroy(module);
        module = nullptr;
    }
};

ModulePlayer::ModulePlayer() : impl_(std::make_unique<Impl>()) {}
ModulePlayer::~ModulePlayer() = default;

bool ModulePlayer::load(const void* bytes, std::size_t length) {
    impl_->release();
    impl_->messages.clear();
    if (bytes == nullptr || length == 0) return false;
    int error = 0;
    impl_->module = openmpt_module_create_from_memory2(bytes, length, &Impl::collect, &impl_->messages,
                                                       openmpt_error_func_store, nullptr, &error, nullptr, nullptr);
    if (impl_->module == nullptr) return false;
    // Loading is done: later messages (none are expected while rendering) are dropped.
    openmpt_module_set_log_func(impl_->module, openmpt_log_func_silent, nullptr);
    openmpt_module_set_repeat_count(impl_->module, 0);
    impl_->applyRenderParams();
    return true;
}

bool ModulePlayer::loaded() const { return impl_->module != nullptr; }
void ModulePlayer::unload() { impl_->release(); }
const std::string& ModulePlayer::loadMessages() const { return impl_->messages; }

std::string ModulePlayer::formatName() const {
    if (impl_->module == nullptr) return {};
    const char* type = openmpt_module_get_metadata(impl_->module, "type");
    std::string name = type != nullptr ? type : "";
    openmpt_free_string(type);
    return name;
}

int ModulePlayer::orderCount() const {
    return impl_->module != nullptr ? openmpt_module_get_num_orders(impl_->module) : 0;
}

int ModulePlayer::channelCount() const {
    return impl_->module != nullptr ? openmpt_module_get_num_channels(impl_->module) : 0;
}

int ModulePlayer::patternRowsAt(int order) const {
    if (impl_->module == nullptr || order < 0 || order >= orderCount()) return 0;
    const int32_t pattern = openmpt_module_get_order_pattern(impl_->module, order);
    if (pattern < 0 || pattern >= openmpt_module_get_num_patterns(impl_->module)) return 0;
    return openmpt_module_get_pattern_num_rows(impl_->module, pattern);
}

double ModulePlayer::durationSeconds() const {
    return impl_->module != nullptr ? openmpt_module_get_duration_seconds(impl_->module) : 0.0;
}

std::size_t ModulePlayer::renderInt16(int sampleRate, int16_t* interleaved, std::size_t frames) {
    if (impl_->module == nullptr) return 0;
    return openmpt_module_read_interleaved_stereo(impl_->module, sampleRate, frames, interleaved);
}

std::size_t ModulePlayer::renderFloat(int sampleRate, float* interleaved, std::size_t frames) {
    if (impl_->module == nullptr) return 0;
    return openmpt_module_read_interleaved_float_stereo(impl_->module, sampleRate, frames, interleaved);
}

int ModulePlayer::currentOrder() const {
    return impl_->module != nullptr ? openmpt_module_get_current_order(impl_->module) : 0;
}

int ModulePlayer::currentRow() const {
    return impl_->module != nullptr ? openmpt_module_get_current_row(impl_->module) : 0;
}

double ModulePlayer::seek(int order, int row) {
    if (impl_->module == nullptr) return 0.0;
    return openmpt_module_set_position_order_row(impl_->module, order, row);
}

void ModulePlayer::setGainMillibel(int32_t millibel) {
    impl_->gainMillibel = millibel;
    impl_->applyRenderParams();
}

void ModulePlayer::setStereoSeparationPercent(int32_t percent) {
    impl_->separationPercent = percent;
    impl_->applyRenderParams();
}

int32_t panSeparationToPercent(float separation) {
    return static_cast<int32_t>(std::lround(std::clamp(separation, 0.0f, 2.0f) * 100.0f));
}

int32_t masterVolumeToMillibel(int volume) {
    if (volume <= 0) return -10000;
    return static_cast<int32_t>(std::lround(2000.0 * std::log10(volume / 256.0)));
}
