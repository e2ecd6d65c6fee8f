#pragma once
// Whether a show may go on to its next frame with the data it has: where
// the data arrives while the show plays (the web page), an effect started
// without its pictures would draw wrong frames or stop the show, so the
// show loop asks first and holds, music and all, until the data is there.
// Where everything is embedded (ShowDefinition::effectDataReady null) the
// answer is always yes.

#include "app/show_definition.h"
#include "engine/demo_system.h"

// How far ahead of the music's position the rows are looked at: a live
// show's music moves on between the question and its frame.
inline constexpr int kDataLookAheadRows = 8;

// True when the effects the frame at music position `now` may start have
// their data: those named by the rows due by then that have not run yet,
// and the current effect where it is not initialised (its render starts it).
bool frameDataReady(const ShowDefinition& show, const DemoSystem& demo, SongPosition now);

// True when every effect named by a row up to `position` has its data: a
// start part-way in runs those rows before its first frame.
bool dataReadyUpTo(const ShowDefinition& show, SongPosition position);
