#include "app/show_assets.h"

#include "assets/font.h"
#include "assets/resources.h"
#include "render/grid_tables.h"

bool ShowAssets::loadFont() { return ::loadFont(); }
void ShowAssets::releaseFont() { ::releaseFont(); }
void ShowAssets::buildGridTables() { ::buildGridTables(); }
uint32_t ShowAssets::loadCompressedResource(void* buffer, uint32_t capacity, int id) {
    return ::loadCompressedResource(buffer, capacity, id);
}
