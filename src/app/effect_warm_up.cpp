#include "app/effect_warm_up.h"

#include <algorithm>
#include <string_view>

EffectWarmUp::EffectWarmUp(const ShowDefinition& show) {
    if (!show.effects) return;
    const auto add = [&](const EffectMaker& maker) {
        if (std::find(order_.begin(), order_.end(), &maker) == order_.end()) order_.push_back(&maker);
    };
    for (const ScriptEntry& row : show.script)
        for (const EffectMaker& maker : *show.effects)
            if (row.target && std::string_view(row.target) == maker.name) add(maker);
    for (const EffectMaker& maker : *show.effects) add(maker);
}

bool EffectWarmUp::step() {
    if (done()) return false;
    const std::unique_ptr<Effect> effect = order_[next_++]->create();
    if (effect->load() && effect->init()) effect->deinit();
    return !done();
}
