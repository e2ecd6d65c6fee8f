// Pictures of the four generated objects, environment-mapped with a
// synthetic texture, written as PNG files to be looked at.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "assets/resource_ids.h"
#include "assets/image.h"
#include "render/face_list.h"
#include "render/mesh.h"
#include "support/png.h"

namespace {

uint16_t rgb565(double r, double g, double b) {
    auto c = [](double v) { return static_cast<uint32_t>(std::clamp(v, 0.0, 1.0) * 255.0); };
    return static_cast<uint16_t>((c(r) & 0xF8) << 8 | (c(g) & 0xFC) << 3 | c(b) >> 3);
}

// A chrome-like environment map: a bright highlight in the middle, coloured
// rings whose hue turns around the centre, darker towards the rim.
std::vector<uint16_t> environmentTexture() {
    std::vector<uint16_t> texture(65536);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x) {
            const double dx = (x - 128) / 128.0, dy = (y - 128) / 128.0;
            const double r = std::sqrt(dx * dx + dy * dy), a = std::atan2(dy, dx);
            const double ring = 0.5 + 0.5 * std::cos(r * 14.0);
            const double light = std::exp(-r * r * 9.0) + 0.25 * (1 - std::min(r, 1.0));
            texture[tiledIndex(x, y)] = rgb565(0.15 + 0.6 * ring * (0.5 + 0.5 * std::cos(a)) + light,
                                               0.1 + 0.5 * ring * (0.5 + 0.5 * std::cos(a + 2.1)) + light,
                                               0.25 + 0.6 * ring * (0.5 + 0.5 * std::cos(a + 4.2)) + light * 1.1);
        }
    return texture;
}

std::vector<uint16_t> background() {
    std::vector<uint16_t> screen(240 * 320);
    for (int y = 0; y < 320; ++y)
        for (int x = 0; x < 240; ++x) screen[y * 240 + x] = rgb565(0.02, 0.03 + y / 2000.0, 0.08 + y / 900.0);
    return screen;
}

struct View {
    int id;
    float scale;
    int32_t depth;
    int32_t angles[3];  // about z, x, y
};

TEST(ObjectPictures, EachObjectSpinningAtItsEffectsDistance) {
    const std::vector<uint16_t> texture = environmentTexture();
    // Depths as the effects place them: the fractal zoom's object, the
    // tunnel's, the water's and the shaft's.
    const View views[] = {{res::kFractalObject, 35.1f, 102400, {8400, 12000, 15600}},
                          {res::kSpinningObject, 20.1f, 44800, {9000, 5000, 3000}},
                          {res::kWaterObject, 40.1f, 115200, {4800, 18000, 8400}},
                          {res::kShaftCamera, 30.1f, 80000, {3000, 14000, 9000}}};
    for (const View& view : views) {
        Mesh mesh;
        ASSERT_TRUE(mesh.loadMesh(view.id, view.scale));
        FixedMatrix m;
        setIdentity(m);
        translate(m, 0, 0, view.depth);
        rotate(m, view.angles[0], 'z');
        rotate(m, view.angles[1], 'x');
        rotate(m, view.angles[2], 'y');
        mesh.setMatrix(m);
        mesh.texture = texture.data();
        std::vector<uint16_t> screen = background();
        mesh.transform();
        const int drawn = mesh.draw(screen.data());
        // A closed surface shows about half its faces.
        EXPECT_GT(drawn, mesh.objects[0].faceCount / 3) << view.id;
        EXPECT_LT(drawn, mesh.objects[0].faceCount * 2 / 3) << view.id;
        const std::string path = testpng::outputDir() + "/object_" + std::to_string(view.id) + ".png";
        EXPECT_TRUE(testpng::writeLandscape(path, screen.data()));
    }
}

}  // namespace
