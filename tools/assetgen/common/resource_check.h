#pragma once
// Checks a generated resource against the show's list of resources: it must
// be listed, a picture must have the listed size and component count, and
// compressed data must fit the buffer its reader gives it.

#include <string>

#include "common/output.h"

namespace assetgen {

// An empty string when the resource matches the list, else what is wrong.
std::string checkResource(const GeneratedResource& resource);

}  // namespace assetgen
