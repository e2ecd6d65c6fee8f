#include "offline/frame_files.h"

#include <png.h>

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "platform/file_access.h"

namespace fs = std::filesystem;

FrameFiles::~FrameFiles() { release(); }

bool FrameFiles::claim() {
    const fs::path folder = pathFromUtf8(folder_), marker = folder / kClaimName;
    std::error_code failure;
    // Another process may remove the folder between the two steps (a check
    // that made and removed it): then it is made again.
    for (int attempt = 0; attempt < 3; ++attempt) {
        madeFolder_ = fs::create_directories(folder, failure) || madeFolder_;
        if (failure) return fail("cannot make the folder '" + folder_ + "': " + failure.message());
        if (fs::create_directory(marker, failure)) {
            claimed_ = true;
            break;
        }
        if (!failure || fs::exists(marker))
            return refuse("cannot write frames to '" + folder_ + "': another render is writing to it");
    }
    if (!claimed_) return fail("cannot make the folder '" + folder_ + "': " + failure.message());
    // Claimed; a render that finished in the meantime leaves its files.
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, failure)) {
        if (entry.path().filename() != kClaimName) {
            release();
            return refuse("cannot write frames to '" + folder_ + "': it exists and is not an empty folder");
        }
    }
    return true;
}

void FrameFiles::release() {
    if (!claimed_) return;
    claimed_ = false;
    std::error_code ignored;
    fs::remove(pathFromUtf8(folder_) / kClaimName, ignored);
}

bool FrameFiles::open(const std::string& folder, int audioRate) {
    folder_ = folder;
    if (!claim()) return false;
    const std::string wav = utf8FromPath(pathFromUtf8(folder) / "audio.wav");
    if (audio_.open(wav, audioRate)) return true;
    fail("cannot write '" + wav + "'" + writeFailureNote(wav, audio_.writeError()));
    removeUnused();
    return false;
}

// A render that kept no frame leaves nothing (a retry would find the folder
// taken): its sound file, and the folder where it made that.
void FrameFiles::removeUnused() {
    audio_.close();
    release();
    std::error_code ignored;
    fs::remove(pathFromUtf8(folder_) / "audio.wav", ignored);
    if (madeFolder_) fs::remove(pathFromUtf8(folder_), ignored);
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
        // libpng says only "Write Error" when the disk is full.
        std::string reason = noSpaceNote(path);
        reason = reason.empty() ? ": " + std::string(image.message) : reason;
        png_image_free(&image);
        return fail("cannot write '" + path + "'" + reason);
    }
    ++frames_;
    return true;
}

bool FrameFiles::writeAudio(std::span<const int16_t> stereo) {
    if (stereo.empty() || audio_.write(stereo)) return true;
    return fail("cannot write the sound to '" + folder_ + "/audio.wav'" +
                writeFailureNote(folder_, audio_.writeError()));
}

bool FrameFiles::keepOnly(long frames, uint64_t samples) {
    for (; frames_ > frames; --frames_) {
        std::error_code failure;
        if (!fs::remove(pathFromUtf8(folder_) / frameName(frames_ - 1), failure)) return false;
    }
    return audio_.cutTo(samples);
}

bool FrameFiles::finish() {
    if (frames_ == 0) {
        removeUnused();
        return error().empty();
    }
    release();
    if (!audio_.close()) return fail("cannot complete '" + folder_ + "/audio.wav'");
    return true;
}
