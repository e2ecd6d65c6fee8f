// A program here prints to the terminal it was started from by itself.
#include "platform/parent_console.h"

void useParentConsole() {}
