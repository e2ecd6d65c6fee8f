// Detail measure of rendered frames: the mean absolute Laplacian of each
// frame's luminance (0-255), summarised per scene. High values mean a picture
// that flickers into fine noise; calm, readable scenes stay low.
//
//   frame_detail FRAMES_DIR SHOW_FRAMES_LIST [FIRST_FRAME [each]]
//
// FRAMES_DIR holds the PNG frames of `zemra --render DIR` at the list's frame
// rate (000000.png, ...); FIRST_FRAME is the show frame number of 000000.png
// (0 when rendered from the start). The golden list (tests/golden/
// show_frames.txt) names the scene of every 15th frame, which gives each
// frame its scene. With "each", every frame's value is printed as well.

#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

// Scene of every listed frame number, in order.
std::map<long, std::string> readScenes(const std::string& path) {
    std::map<long, std::string> scenes;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#' || line.starts_with("fps") || line.starts_with("sound")) continue;
        std::istringstream fields(line);
        std::string position, scene;
        long ms = 0, frame = 0;
        if (fields >> position >> ms >> scene >> frame) scenes[frame] = scene;
    }
    return scenes;
}

std::string sceneOf(const std::map<long, std::string>& scenes, long frame) {
    auto at = scenes.upper_bound(frame);
    if (at == scenes.begin()) return "(none)";
    return std::prev(at)->second;
}

// Mean |4 L(x, y) - L(x-1, y) - L(x+1, y) - L(x, y-1) - L(x, y+1)| over the
// inner pixels, with L the Rec. 601 luminance; -1 when the file is unreadable.
double meanLaplacian(const std::string& path) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return -1;
    image.format = PNG_FORMAT_RGB;
    std::vector<unsigned char> rgb(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) return -1;
    const int w = static_cast<int>(image.width), h = static_cast<int>(image.height);
    std::vector<double> lum(static_cast<size_t>(w) * h);
    for (size_t i = 0; i < lum.size(); ++i)
        lum[i] = 0.299 * rgb[3 * i] + 0.587 * rgb[3 * i + 1] + 0.114 * rgb[3 * i + 2];
    double sum = 0;
    for (int y = 1; y + 1 < h; ++y)
        for (int x = 1; x + 1 < w; ++x) {
            const size_t i = static_cast<size_t>(y) * w + x;
            sum += std::fabs(4 * lum[i] - lum[i - 1] - lum[i + 1] - lum[i - w] - lum[i + w]);
        }
    return sum / (static_cast<double>(w - 2) * (h - 2));
}

double percentile(std::vector<double> values, double p) {
    std::sort(values.begin(), values.end());
    return values[static_cast<size_t>(p * (values.size() - 1) + 0.5)];
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: frame_detail FRAMES_DIR SHOW_FRAMES_LIST [FIRST_FRAME [each]]\n");
        return 2;
    }
    const std::string folder = argv[1];
    const auto scenes = readScenes(argv[2]);
    const long first = argc > 3 ? std::stol(argv[3]) : 0;
    const bool each = argc > 4 && std::string(argv[4]) == "each";

    std::vector<std::string> order;  // scenes in order of first appearance
    std::map<std::string, std::vector<double>> values;
    for (long index = 0;; ++index) {
        char name[32];
        std::snprintf(name, sizeof name, "/%06ld.png", index);
        const double value = meanLaplacian(folder + name);
        if (value < 0) break;
        const std::string scene = sceneOf(scenes, first + index);
        if (!values.count(scene)) order.push_back(scene);
        values[scene].push_back(value);
        if (each) std::printf("%ld %s %.1f\n", first + index, scene.c_str(), value);
    }
    std::printf("%-12s %7s %7s %7s %7s %7s\n", "scene", "frames", "min", "median", "p90", "max");
    for (const auto& scene : order) {
        const auto& v = values[scene];
        std::printf("%-12s %7zu %7.1f %7.1f %7.1f %7.1f\n", scene.c_str(), v.size(), percentile(v, 0), percentile(v, 0.5),
                    percentile(v, 0.9), percentile(v, 1));
    }
    return 0;
}
