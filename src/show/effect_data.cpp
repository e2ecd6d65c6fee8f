#include "show/effect_data.h"

#include <algorithm>

#include "app/effect_warm_up.h"
#include "assets/data_groups.h"

namespace {

struct EffectGroups {
    std::string_view effect;
    std::vector<std::string_view> groups;
};

// Each effect's own group, and the shared ones it borrows from: the 3D
// objects, the tunnel's object map (the end scene's too), the landscape's
// depth map (the tube's alpha), and the font for the scenes that draw text.
// test_show checks this against what each effect's initialisation really
// reads (the font aside: start-up loads it).
const std::vector<EffectGroups>& table() {
    static const std::vector<EffectGroups> groups = {
        {"worldefu", {"worldefu"}},
        {"logoefu", {"logoefu"}},
        {"venkuefu", {"venkuefu"}},
        {"tunnelefu", {"tunnelefu", "objects"}},
        {"magnetefu", {"magnetefu"}},
        {"voxelefu", {"voxelefu"}},
        {"holeefu", {"holeefu", "objects"}},
        {"tolppaefu", {"tolppaefu", kFontGroup}},
        {"spriteefu", {"spriteefu", kFontGroup}},
        {"vesiefu", {"vesiefu", "objects"}},
        {"muljuefu", {"muljuefu", "voxelefu"}},
        {"fractalefu", {"fractalefu", "objects"}},
        {"loppuefu", {"loppuefu", "tunnelefu", "objects", kFontGroup}},
    };
    return groups;
}

constexpr std::string_view kStartupGroups[] = {"music"};

bool allPresent(std::span<const std::string_view> groups) {
    return std::all_of(groups.begin(), groups.end(), [](std::string_view g) { return groupPresent(g); });
}

}  // namespace

std::span<const std::string_view> groupsOfEffect(std::string_view name) {
    for (const EffectGroups& entry : table())
        if (entry.effect == name) return entry.groups;
    return {};
}

std::span<const std::string_view> startupGroups() { return kStartupGroups; }

bool effectDataPresent(std::string_view name) { return allPresent(groupsOfEffect(name)); }
bool startupDataPresent() { return allPresent(startupGroups()); }

std::vector<std::string_view> groupsInShowOrder(const ShowDefinition& show) {
    std::vector<std::string_view> order;
    const auto add = [&](std::span<const std::string_view> groups) {
        for (std::string_view g : groups)
            if (std::find(order.begin(), order.end(), g) == order.end()) order.push_back(g);
    };
    add(startupGroups());
    for (const EffectMaker* effect : effectsInScriptOrder(show)) add(groupsOfEffect(effect->name));
    return order;
}
