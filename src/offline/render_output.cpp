#include "offline/render_output.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "platform/file_access.h"

std::string noSpaceNote(const std::string& path) {
    namespace fs = std::filesystem;
    // Less than a large frame's worth left counts as full: the write that
    // failed was bigger than what remains.
    constexpr std::uintmax_t kNearlyFull = 1 << 20;
    std::error_code failure;
    fs::path existing = fs::absolute(pathFromUtf8(path), failure);
    while (!existing.empty() && !fs::exists(existing, failure) && existing.has_relative_path())
        existing = existing.parent_path();
    const fs::space_info space = fs::space(existing, failure);
    if (failure || space.available >= kNearlyFull) return {};
    return ": no space left on the disk";
}

std::string writeFailureNote(const std::string& path, int error) {
    std::string note = noSpaceNote(path);
    if (!note.empty() || error == 0) return note;
    if (error == EFBIG) return ": the file has reached the size limit set for this program (ulimit -f)";
    return ": " + std::string(std::strerror(error));
}

void pictureToRgb24(const PictureSurface& picture, std::vector<uint8_t>& rgb) {
    const std::size_t count = static_cast<std::size_t>(picture.width()) * picture.height();
    rgb.resize(3 * count);
    const uint16_t* pixels = picture.pixels();
    for (std::size_t i = 0; i < count; ++i) {
        const uint32_t argb = widenRgb565(pixels[i]);
        rgb[3 * i] = static_cast<uint8_t>(argb >> 16);
        rgb[3 * i + 1] = static_cast<uint8_t>(argb >> 8);
        rgb[3 * i + 2] = static_cast<uint8_t>(argb);
    }
}
