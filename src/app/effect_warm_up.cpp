#include "app/effect_warm_up.h"

#include <algorithm>
#include <string_view>

std::vector<const EffectMaker*> effectsInScriptOrder(const ShowDefinition& show) {
    std::vector<const EffectMaker*> order;
    if (!show.effects) return order;
    const auto add = [&](const EffectMaker& maker) {
        if (std::find(order.begin(), order.end(), &maker) == order.end()) order.push_back(&maker);
    };
    for (const ScriptEntry& row : show.script)
        for (const EffectMaker& maker : *show.effects)
            if (row.target && std::string_view(row.target) == maker.name) add(maker);
    for (const EffectMaker& maker : *show.effects) add(maker);
    return order;
}

EffectWarmUp::EffectWarmUp(const ShowDefinition& show)
    : order_(effectsInScriptOrder(show)), dataReady_(show.effectDataReady) {}

bool EffectWarmUp::step() {
    if (done()) return false;
    if (dataReady_ && !dataReady_(order_[next_]->name)) return true;
    const std::unique_ptr<Effect> effect = order_[next_++]->create();
    if (effect->load() && effect->init()) effect->deinit();
    return !done();
}
