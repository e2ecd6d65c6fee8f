#include "show/show_assets.h"

#include "assets/data_groups.h"
#include "assets/font.h"
#include "assets/resource_ids.h"
#include "assets/resources.h"
#include "render/grid_tables.h"
#include "show/effect_data.h"

// Without the font's data yet, start-up goes on: useArrivedGroup loads it
// when it comes, before any scene that draws text may start.
bool ShowAssets::loadFont() { return groupPresent(kFontGroup) ? ::loadFont() : true; }
bool useArrivedGroup(std::string_view group) { return group != kFontGroup || ::loadFont(); }
void ShowAssets::releaseFont() { ::releaseFont(); }
void ShowAssets::buildGridTables() { ::buildGridTables(); }

// The most the module's bytes may take: the buffer it is decompressed into.
constexpr uint32_t kMusicModuleCapacity = 409600;

std::vector<uint8_t> ShowAssets::loadMusicModule() {
    if (module_.empty()) {
        module_.resize(kMusicModuleCapacity);
        module_.resize(loadCompressedResource(module_.data(), kMusicModuleCapacity, res::kMusicModule));
    }
    return module_;
}
