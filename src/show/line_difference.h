#pragma once
// A text as its difference from a base text, line by line: the runs of the
// base's lines kept, dropped and the new lines put in their place. Applying
// the difference to the same base gives the text back byte for byte (line
// ends, comments and blank lines included). It is written compactly, as
//
//   KEEP DROP ADD  line\n ... (ADD lines)   ...again for each change
//
// with the three counts as variable-length numbers (seven bits a byte, the
// high bit set where another byte follows); the base's lines after the last
// change are kept. A text equal to the base is an empty difference.

#include <string>
#include <string_view>

std::string lineDifference(std::string_view base, std::string_view text);

// The text the difference makes of base. False when the difference is not
// one (its counts run past the base or the data ends inside a change).
bool applyLineDifference(std::string_view base, std::string_view difference, std::string& text);
