#pragma once
// What a show is to the code that plays it: its timeline (the script rows),
// the effects those rows name, and the assets start-up prepares. Every entry
// point says which show it plays and hands this value on; the show's own
// is made in src/show.

#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "engine/demo_system.h"

// Seconds of a show, counted from its start, first and last included.
struct SecondRange {
    int first = 0, last = 0;
};

struct ShowDefinition {
    std::span<const ScriptEntry> script;
    const std::vector<EffectMaker>* effects = nullptr;  // in registry order
    StartupAssets* assets = nullptr;
    // The gentle mode: what the viewer sees is held under the flash
    // thresholds; the show itself makes the same frames.
    bool gentle = false;
    // The seconds its normal picture flashes more than three times, as the
    // flash check found them; empty where unknown (another script).
    std::span<const SecondRange> flashing;
    // Whether the data an effect reads when it initialises is at hand (the
    // web page's arrives while the show plays); null: always. The show waits
    // for it rather than start an effect without its pictures.
    bool (*effectDataReady)(std::string_view effect) = nullptr;

    // The same show playing other rows (a script file, an edited cut).
    ShowDefinition withScript(std::span<const ScriptEntry> rows) const {
        ShowDefinition show = *this;
        show.script = rows;
        show.flashing = {};
        return show;
    }
    // The seconds over three flashes a viewer of this show sees.
    std::span<const SecondRange> flashingSeen() const { return gentle ? std::span<const SecondRange>{} : flashing; }
};

// A DemoSystem with the show's effects, ready for loadAll, dispatching
// `rows` as the music plays: the show's script, or the rows from a start
// part-way in on.
std::unique_ptr<DemoSystem> makeShow(const ShowDefinition& show, MainWindow& window, Clock& clock, MusicPlayer& music,
                                     Dialogs& dialogs, std::span<const ScriptEntry> rows);
