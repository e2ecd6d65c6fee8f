#include "app/data_wait.h"

namespace {

// A row's target and argument, either of which may name an effect; names
// that are no effect have nothing to wait for.
bool rowDataReady(const ShowDefinition& show, const ScriptEntry& row) {
    return (row.target == nullptr || show.effectDataReady(row.target)) &&
           (row.argument == nullptr || show.effectDataReady(row.argument));
}

}  // namespace

bool frameDataReady(const ShowDefinition& show, const DemoSystem& demo, SongPosition now) {
    if (!show.effectDataReady) return true;
    const Effect* current = demo.currentEffect();
    if (current != nullptr && !current->initialised) {
        for (const EffectMaker& maker : *show.effects)
            if (demo.find(maker.name) == current && !show.effectDataReady(maker.name)) return false;
    }
    const SongPosition ahead{now.order, now.row + kDataLookAheadRows};
    const auto& script = demo.script();
    for (auto row = script.begin() + demo.scriptCursor(); row != script.end() && row->position() <= ahead; ++row)
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
