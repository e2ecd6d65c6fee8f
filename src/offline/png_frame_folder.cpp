#include "offline/png_frame_folder.h"

#include <png.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "safety/flash_analyser.h"

namespace fs = std::filesystem;

namespace {

fs::path pathFromUtf8(const std::string& name) {
    return fs::path(std::u8string(reinterpret_cast<const char8_t*>(name.data()), name.size()));
}

std::string utf8FromPath(const fs::path& path) {
    const std::u8string name = path.u8string();
    return std::string(reinterpret_cast<const char*>(name.data()), name.size());
}

// A frame larger than this is refused before anything is allocated for it
// (a header may claim up to 2^31 pixels a side).
constexpr long long kMostPixels = 1LL << 26;

struct PngSize {
    bool isPng = false;
    long long width = 0, height = 0;
};

// The size in a PNG file's header (the signature and the IHDR chunk that
// must come first), without decoding it.
PngSize readPngSize(const fs::path& path) {
    std::array<unsigned char, 24> head{};
    std::ifstream file(path, std::ios::binary);
    if (!file.read(reinterpret_cast<char*>(head.data()), head.size())) return {};
    static constexpr unsigned char kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (!std::equal(std::begin(kSignature), std::end(kSignature), head.begin())) return {};
    if (!std::equal(head.begin() + 12, head.begin() + 16, "IHDR")) return {};
    auto word = [&](int at) {
        return static_cast<long long>(head[at]) << 24 | head[at + 1] << 16 | head[at + 2] << 8 | head[at + 3];
    };
    return {true, word(16), word(20)};
}

std::string sizeText(long long width, long long height) {
    return std::to_string(width) + " x " + std::to_string(height);
}

}  // namespace

bool PngFrameFolder::fail(std::string reason) {
    error_ = std::move(reason);
    return false;
}

bool PngFrameFolder::open(const std::string& folder) {
    folder_ = folder;
    files_.clear();
    next_ = 0;
    error_.clear();
    std::error_code failure;
    std::vector<std::string> names;
    for (fs::directory_iterator it(pathFromUtf8(folder), failure), end; !failure && it != end; it.increment(failure)) {
        const std::string name = utf8FromPath(it->path().filename());
        if (it->is_directory(failure) || name.starts_with(".") || name == "audio.wav") continue;
        names.push_back(name);
    }
    if (failure) return fail("cannot read the folder '" + folder + "': " + failure.message());
    if (names.empty()) return fail("no frames in '" + folder + "': it holds no PNG pictures");
    if (names.size() == 1)
        return fail("only one frame in '" + folder + "': a flash check needs a clip of two frames or more");
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
        const std::string path = utf8FromPath(pathFromUtf8(folder) / pathFromUtf8(name));
        const PngSize size = readPngSize(pathFromUtf8(path));
        if (!size.isPng) return fail("'" + path + "' is not a PNG picture: a folder of frames holds only frames");
        if (size.width <= 0 || size.height <= 0 || size.width * size.height > kMostPixels)
            return fail("'" + path + "' is " + sizeText(size.width, size.height) + ": too large or empty for a frame");
        if (files_.empty()) {
            width_ = static_cast<int>(size.width);
            height_ = static_cast<int>(size.height);
        } else if (size.width != width_ || size.height != height_) {
            return fail("'" + path + "' is " + sizeText(size.width, size.height) + ", the frames before it " +
                        sizeText(width_, height_) + ": the frames must all be one size");
        }
        files_.push_back(path);
    }
    return true;
}

bool PngFrameFolder::next(std::vector<uint8_t>& rgb) {
    if (next_ >= files_.size()) return false;
    const std::string& path = files_[next_++];
    std::ifstream file(pathFromUtf8(path), std::ios::binary);
    const std::vector<char> bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (bytes.empty() || !png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) {
        const std::string reason = bytes.empty() ? "it cannot be read" : image.message;
        png_image_free(&image);
        return fail("cannot read '" + path + "': " + reason);
    }
    if (static_cast<int>(image.width) != width_ || static_cast<int>(image.height) != height_) {
        png_image_free(&image);
        return fail("'" + path + "' changed while it was read");
    }
    image.format = PNG_FORMAT_RGB;
    rgb.resize(PNG_IMAGE_SIZE(image));
    const png_color black{0, 0, 0};  // what a picture with alpha is laid over
    if (!png_image_finish_read(&image, &black, rgb.data(), 0, nullptr)) {
        const std::string reason = image.message;
        png_image_free(&image);
        return fail("cannot decode '" + path + "': " + reason);
    }
    return true;
}

bool checkFrameFolder(const std::string& folder, int framesPerSecond, FlashReport& report, std::string& error) {
    PngFrameFolder frames;
    if (!frames.open(folder)) {
        error = frames.error();
        return false;
    }
    FlashAnalyser analyser(framesPerSecond);
    std::vector<uint8_t> rgb;
    while (frames.next(rgb)) analyser.add({rgb.data(), frames.width(), frames.height()});
    if (!frames.error().empty()) {
        error = frames.error();
        return false;
    }
    report = analyser.finish();
    return true;
}
