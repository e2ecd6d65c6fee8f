#pragma once
// The cut the page plays: a script read from a #cut= link, in place of the
// show's own until another link is opened or the page goes back to the
// show. The page's functions for links are in cut_page.cpp.

#include <string>

#include "app/show_definition.h"

// The show with the opened cut's script, or as it is when none is open.
ShowDefinition withOpenedCut(ShowDefinition show);
// The script text the page plays when nothing is edited: the opened cut's
// as it was shared, or the show's own.
std::string playedScriptText();
