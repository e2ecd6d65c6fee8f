#pragma once
// Every effect of the show with its script name, in registry order.

#include <memory>
#include <vector>

#include "engine/effect.h"

struct EffectEntry {
    const char* name;
    std::unique_ptr<Effect> (*create)();
};

const std::vector<EffectEntry>& effectCatalogue();
