#pragma once
// The shared assets start-up prepares, reached through this interface so the
// engine does not depend on the asset and rendering code or know resource
// ids. The application passes one over the embedded resources.

#include <cstdint>
#include <vector>

class StartupAssets {
public:
    virtual ~StartupAssets() = default;
    virtual bool loadFont() = 0;
    virtual void releaseFont() = 0;
    virtual void buildGridTables() = 0;
    // The music module's bytes, decompressed; empty when it cannot be had.
    virtual std::vector<uint8_t> loadMusicModule() = 0;
};
