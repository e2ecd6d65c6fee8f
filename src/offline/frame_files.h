#pragma once
// A render as a folder of numbered PNG pictures at the picture's own size
// (000000.png, 000001.png, ...) and its sound as audio.wav beside them.
//
// A render claims its folder before writing: it makes a marker folder in it,
// which only one process can make, and then checks that nothing else is
// there. A second render into the same folder, started at the same time or
// later, is refused, and the first one's frames and sound stay whole. The
// marker is removed when the render ends, and so is the folder (or the
// sound file in a folder that was there) when no frame was kept.

#include <string>
#include <vector>

#include "offline/render_output.h"
#include "offline/wav_file.h"

class FrameFiles : public RenderOutput {
public:
    ~FrameFiles() override;
    // Creates the folder if needed, claims it and opens the sound file.
    // Refused (see refused()) when another render holds the folder or it
    // is not empty.
    bool open(const std::string& folder, int audioRate);

    bool writeFrame(const PictureSurface& picture) override;
    bool writeAudio(std::span<const int16_t> stereo) override;
    bool keepOnly(long frames, uint64_t samples) override;
    bool finish() override;

    static std::string frameName(long index);
    // The marker that tells a folder is being written.
    static constexpr const char* kClaimName = ".zemra-rendering";

private:
    bool claim();
    void release();
    void removeUnused();

    std::string folder_;
    bool claimed_ = false;
    bool madeFolder_ = false;
    WavFile audio_;
    long frames_ = 0;
    std::vector<uint8_t> rgb_;
};
