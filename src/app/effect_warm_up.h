#pragma once
// Gets a show's pictures decoded before the show reaches them. Each step
// makes one of the show's effects afresh, initialises and frees it: what its
// initialisation decodes stays in the picture cache, so the show's own
// effect, started later, copies its pictures instead of decoding them (on a
// slow phone the first frame of a scene otherwise took a tenth of a second
// or more). The effects go in the order the script first names them; the
// show's own effects are never touched, so its frames stay the same. An
// effect whose data has not arrived yet is warmed once it has.

#include <cstddef>
#include <vector>

#include "app/show_definition.h"

class EffectWarmUp {
public:
    explicit EffectWarmUp(const ShowDefinition& show);

    // Warms the next effect (or, while its data is missing, nothing); false
    // once every effect is warm.
    bool step();
    bool done() const { return next_ == order_.size(); }

private:
    std::vector<const EffectMaker*> order_;
    std::size_t next_ = 0;
    bool (*dataReady_)(std::string_view effect) = nullptr;
};

// The show's effects in the order its script first names them, then those
// it never names.
std::vector<const EffectMaker*> effectsInScriptOrder(const ShowDefinition& show);
