#pragma once
// What a show is to the code that plays it: its timeline (the script rows),
// the effects those rows name, and the assets start-up prepares. Every entry
// point says which show it plays and hands this value on; the show's own
// is made in src/show.

#include <memory>
#include <span>
#include <vector>

#include "engine/demo_system.h"

struct ShowDefinition {
    std::span<const ScriptEntry> script;
    const std::vector<EffectMaker>* effects = nullptr;  // in registry order
    StartupAssets* assets = nullptr;
    // The gentle mode: what the viewer sees is held under the flash
    // thresholds; the show itself makes the same frames.
    bool gentle = false;

    // The same show playing other rows (a script file, an edited cut).
    ShowDefinition withScript(std::span<const ScriptEntry> rows) const { return {rows, effects, assets, gentle}; }
};

// A DemoSystem with the show's effects, ready for loadAll, dispatching
// `rows` as the music plays: the show's script, or the rows from a start
// part-way in on.
std::unique_ptr<DemoSystem> makeShow(const ShowDefinition& show, MainWindow& window, Clock& clock, MusicPlayer& music,
                                     Dialogs& dialogs, std::span<const ScriptEntry> rows);
