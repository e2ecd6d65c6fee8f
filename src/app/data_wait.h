#pragma once
// Whether a show may go on to its next frame with the data it has: where
// the data arrives while the show plays (the web page), an effect started
// without its pictures would draw wrong frames or stop the show, so the
// show loop asks first and holds, music and all, until the data is there.
// Where everything is embedded (ShowDefinition::effectDataReady null) the
// answer is always yes.

#include "app/show_definition.h"
#include "engine/demo_system.h"

// True when the effects the frame at music position `now` may start have
// their data: those the "seteffect" rows due by then make current, and the
// current effect where it is not initialised (its render starts it).
bool frameDataReady(const ShowDefinition& show, const DemoSystem& demo, SongPosition now);

// True when every effect a "seteffect" row up to `position` makes current
// has its data: a start part-way in runs those rows before its first frame.
bool dataReadyUpTo(const ShowDefinition& show, SongPosition position);

// The effect a row makes current ("seteffect"), whose data the show waits
// for; null for any other row.
const char* effectStartedBy(const ScriptEntry& row);
