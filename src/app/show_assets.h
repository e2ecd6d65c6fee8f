#pragma once
// The shared assets start-up prepares: the font, the grid tables and the
// compressed resources embedded in the program.

#include "engine/startup_assets.h"

class ShowAssets : public StartupAssets {
public:
    bool loadFont() override;
    void releaseFont() override;
    void buildGridTables() override;
    uint32_t loadCompressedResource(void* buffer, uint32_t capacity, int id) override;
};
