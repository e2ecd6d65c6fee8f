#pragma once
// The whole show, built over whatever platform it is given: the desktop
// window with its sound device, or an offscreen display with a virtual clock
// and a player driven in step with the frames. Everything but the platform
// is the same in every case.

#include <memory>
#include <vector>

#include "engine/demo_system.h"

// The effects that exist, as the show creates them, in registry order.
std::vector<EffectMaker> catalogueEffects();

// The font, grid tables and embedded resources.
StartupAssets& showAssets();

// A DemoSystem with every effect and the show's script, ready for loadAll.
std::unique_ptr<DemoSystem> buildShow(MainWindow& window, Clock& clock, MusicPlayer& music, Dialogs& dialogs);
