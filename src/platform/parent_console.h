#pragma once
// Where a windowed program prints. On Windows the show is a windowed program
// (a double-click opens no console); run from a terminal it still prints
// there. Elsewhere the standard streams already lead to the terminal and
// this does nothing.

// Sends standard output and error that lead nowhere to the console of the
// program that started this one, if it has one. Call first thing in main.
void useParentConsole();
