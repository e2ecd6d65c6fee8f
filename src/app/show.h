#pragma once
// The whole show, built over whatever platform it is given: the desktop
// window with its sound device, or an offscreen display with a virtual clock
// and a player driven in step with the frames. Everything but the platform
// is the same in every case.

#include <memory>
#include <span>

#include "engine/demo_script.h"
#include "engine/demo_system.h"

// The font, grid tables, music module and embedded resources.
StartupAssets& showAssets();

// A DemoSystem with every effect, ready for loadAll, dispatching `script` as
// the music plays: the show's own timeline, or the rows from a start
// part-way in on.
std::unique_ptr<DemoSystem> makeWholeShow(MainWindow& window, Clock& clock, MusicPlayer& music, Dialogs& dialogs,
                                          std::span<const ScriptEntry> script = demoScript());
