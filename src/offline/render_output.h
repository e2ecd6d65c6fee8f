#pragma once
// Where an offline render goes: each frame as the viewer sees it, and the
// sound as 16-bit stereo samples.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/portable/picture_surface.h"

class RenderOutput {
public:
    virtual ~RenderOutput() = default;
    virtual bool writeFrame(const PictureSurface& picture) = 0;
    virtual bool writeAudio(std::span<const int16_t> stereo) = 0;
    // Takes back what was written beyond the first `frames` frames and
    // `samples` stereo samples of sound, where the output can (a folder's
    // pictures and sound file): after a write of the sound failed, what is
    // kept is then in step. False when it cannot.
    virtual bool keepOnly(long /*frames*/, uint64_t /*samples*/) { return false; }
    // Completes and closes what was written, valid however far the render
    // got. False when that failed.
    virtual bool finish() = 0;
    // Why the first call that failed did: what failed later (closing a file
    // on a full disk) follows from it.
    const std::string& error() const { return error_; }
    // True when the output was refused before anything was written to it
    // (another render holds it), as opposed to failing while writing.
    bool refused() const { return refused_; }

protected:
    bool fail(std::string reason) {
        if (error_.empty()) error_ = std::move(reason);
        return false;
    }
    // Adds to the message of the failure that came first (where its files are).
    void appendToError(const std::string& more) { error_ += more; }
    bool refuse(std::string reason) {
        refused_ = error_.empty();
        return fail(std::move(reason));
    }

private:
    std::string error_;
    bool refused_ = false;
};

// A render that goes nowhere (the benchmark).
class NoOutput : public RenderOutput {
public:
    bool writeFrame(const PictureSurface&) override { return true; }
    bool writeAudio(std::span<const int16_t>) override { return true; }
    bool finish() override { return true; }
};

// ": no space left on the disk" when the file system holding `path` (a file
// or folder, existing or not) is full, else empty: said after a write that
// failed, since neither libpng nor ffmpeg tell the reason.
std::string noSpaceNote(const std::string& path);

// Why a write of `path` failed, for its message: the full disk as
// noSpaceNote says it, else the file-size limit or the system's reason for
// the error number `error` (": ..."; empty when nothing is known).
std::string writeFailureNote(const std::string& path, int error);

// The picture as 8-bit red, green, blue bytes, rows top to bottom, with the
// same widening of each channel as the window shows.
void pictureToRgb24(const PictureSurface& picture, std::vector<uint8_t>& rgb);
