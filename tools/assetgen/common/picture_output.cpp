#include "common/picture_output.h"

namespace assetgen {

void addPicture(Output& out, int id, const Canvas& picture, int quality) { out.add("JPEG", id, picture.toJpeg(quality)); }

void addPictureWithMask(Output& out, int id, int maskId, const Canvas& colour, const Canvas& mask, int quality) {
    addPicture(out, id, colour, quality);
    addPicture(out, maskId, mask, quality);
}

}  // namespace assetgen
