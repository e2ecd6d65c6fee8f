#include "render/grid_tables.h"

#include <cmath>

#include "anim/intmath.h"

int32_t gridAngle[kGridPoints];
int32_t gridRadius[kGridPoints];

void buildGridTables() {
    for (int j = 0; j < kGridRows; ++j) {
        for (int k = 0; k < kGridColumns; ++k) {
            const double dx = k - 15;
            const double dy = j - 20;
            const int i = j * kGridColumns + k;
            // atan2 with dx first: 0 straight below the centre; 512 / pi per radian.
            gridAngle[i] = zm::truncToInt32(std::atan2(dx, dy) * 162.97466172610083);
            gridRadius[i] = zm::truncToInt32(std::sqrt(dx * dx + dy * dy) * 256.0);
        }
    }
}
