#pragma once
// The shared assets start-up prepares, reached through this interface so the
// engine does not depend on the asset and rendering code. The application
// passes one that calls loadFont, releaseFont, buildGridTables and
// loadCompressedResource.

#include <cstdint>

class StartupAssets {
public:
    virtual ~StartupAssets() = default;
    virtual bool loadFont() = 0;
    virtual void releaseFont() = 0;
    virtual void buildGridTables() = 0;
    // Decompresses BZ2 resource id into buffer; the length, or 0 on failure.
    virtual uint32_t loadCompressedResource(void* buffer, uint32_t capacity, int id) = 0;
};
