#include "app/data_wait.h"

#include <string_view>

namespace {

// An "init" row leaves an effect without its data for later
// (DemoSystem::setDataMissing), and rows other than "seteffect" read none.
bool rowDataReady(const ShowDefinition& show, const ScriptEntry& row) {
    const char* effect = effectStartedBy(row);
    return effect == nullptr || show.effectDataReady(effect);
}

}  // namespace

const char* effectStartedBy(const ScriptEntry& row) {
    return row.command != nullptr && std::string_view(row.command) == "seteffect" ? row.argument : nullptr;
}

bool frameDataReady(const ShowDefinition& show, const DemoSystem& demo, SongPosition now) {
    if (!show.effectDataReady) return true;
    const Effect* current = demo.currentEffect();
    if (current != nullptr && !current->initialised) {
        for (const EffectMaker& maker : *show.effects)
            if (demo.find(maker.name) == current && !show.effectDataReady(maker.name)) return false;
    }
    const auto& script = demo.script();
    for (auto row = script.begin() + demo.scriptCursor(); row != script.end() && row->position() <= now; ++row)
        if (!rowDataReady(show, *row)) return false;
    return true;
}

bool dataReadyUpTo(const ShowDefinition& show, SongPosition position) {
    if (!show.effectDataReady) return true;
    for (const ScriptEntry& row : show.script) {
        if (row.position() > position) break;
        if (!rowDataReady(show, row)) return false;
    }
    return true;
}
