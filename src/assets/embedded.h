#pragma once
// The table that carries generated resources inside the executable.
// Each generator group contributes one EmbeddedGroup; embeddedGroups()
// returns them all, ending with a null pointer.

#include <cstddef>
#include <cstdint>

struct EmbeddedResource {
    const char* type;           // "JPEG", "BZ2" or "OBJ"
    int id;
    const unsigned char* data;  // read-only, valid for the whole run
    uint32_t size;
};

struct EmbeddedGroup {
    const char* name;
    const EmbeddedResource* resources;
    size_t count;
};

const EmbeddedGroup* const* embeddedGroups();
