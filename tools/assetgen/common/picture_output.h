#pragma once
// Adding finished canvases to a group's output as JPEG resources.

#include "common/canvas.h"
#include "common/output.h"

namespace assetgen {

void addPicture(Output& out, int id, const Canvas& picture, int quality = 92);

// A colour picture and the grey mask the show loads as its alpha.
void addPictureWithMask(Output& out, int id, int maskId, const Canvas& colour, const Canvas& mask, int quality = 95);

}  // namespace assetgen
