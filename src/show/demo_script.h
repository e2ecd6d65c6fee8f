#pragma once
// The show's own timeline: its rows as the show plays them.

#include <cstdint>
#include <span>

#include "engine/script_entry.h"

extern const ScriptEntry DemoScript[];
extern const int32_t DemoScriptRowCount;

// The whole table as a span.
std::span<const ScriptEntry> demoScript();
