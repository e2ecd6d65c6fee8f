#pragma once
// Zemra's own show: its script, its thirteen effects and the assets
// embedded in the program.

#include "app/show_definition.h"

ShowDefinition builtInShow();
