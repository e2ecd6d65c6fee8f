#pragma once
// The shared assets start-up prepares: the font, the grid tables and the
// compressed resources embedded in the program.

#include <string_view>

#include "engine/startup_assets.h"

class ShowAssets : public StartupAssets {
public:
    bool loadFont() override;
    void releaseFont() override;
    void buildGridTables() override;
    // Decompressed once and kept: every start of the show (study mode
    // starts one at each jump) and the timeline read it again.
    std::vector<uint8_t> loadMusicModule() override;

private:
    std::vector<uint8_t> module_;
};

// Loads what start-up would have loaded from `group`, which arrived after it
// (the font); false if that cannot be read.
bool useArrivedGroup(std::string_view group);
