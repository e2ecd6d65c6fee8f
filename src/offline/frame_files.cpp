#include "offline/frame_files.h"

#include <png.h>

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "platform/file_access.h"

bool FrameFiles::open(const std::string& folder, int audioRate) {
    folder_ = folder;
    std::error_code failure;
    std::filesystem::create_directories(pathFromUtf8(folder), failure);
    if (failure) return fail("cannot make the folder '" + folder + "': " + failure.message());
    const std::string wav = utf8FromPath(pathFromUtf8(folder) / "audio.wav");
    if (!audio_.open(wav, audioRate)) return fail("cannot write '" + wav + "'");
    return true;
}

std::string FrameFiles::frameName(long index) {
    char name[32];
    std::snprintf(name, sizeof name, "%06ld.png", index);
    return name;
}

bool FrameFiles::writeFrame(const PictureSurface& picture) {
    pictureToRgb24(picture, rgb_);
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(picture.width());
    image.height = static_cast<png_uint_32>(picture.height());
    image.format = PNG_FORMAT_RGB;
    image.flags = PNG_IMAGE_FLAG_FAST;  // these pictures are many: quick over small
    const std::string path = utf8FromPath(pathFromUtf8(folder_) / frameName(frames_));
    if (!png_image_write_to_file(&image, path.c_str(), 0, rgb_.data(), 0, nullptr)) {
        const std::string reason = image.message;
        png_image_free(&image);
        return fail("cannot write '" + path + "': " + reason);
    }
    ++frames_;
    return true;
}

bool FrameFiles::writeAudio(std::span<const int16_t> stereo) {
    if (stereo.empty() || audio_.write(stereo)) return true;
    return fail("cannot write the sound to '" + folder_ + "/audio.wav'");
}

bool FrameFiles::finish() {
    if (!audio_.close()) return fail("cannot complete '" + folder_ + "/audio.wav'");
    return true;
}
