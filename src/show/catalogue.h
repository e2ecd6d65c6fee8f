#pragma once
// Every effect of the show with its script name, in registry order.

#include <memory>
#include <vector>

#include "engine/effect.h"

const std::vector<EffectMaker>& effectCatalogue();
