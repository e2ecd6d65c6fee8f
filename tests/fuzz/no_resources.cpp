// The fuzz targets carry no generated resources: each loader is fed bytes.
#include "assets/embedded.h"

const EmbeddedGroup* const* embeddedGroups() {
    static const EmbeddedGroup* const none[] = {nullptr};
    return none;
}
