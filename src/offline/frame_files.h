#pragma once
// A render as a folder of numbered PNG pictures at the picture's own size
// (000000.png, 000001.png, ...) and its sound as audio.wav beside them.

#include <string>
#include <vector>

#include "offline/render_output.h"
#include "offline/wav_file.h"

class FrameFiles : public RenderOutput {
public:
    // Creates the folder if needed and opens the sound file.
    bool open(const std::string& folder, int audioRate);

    bool writeFrame(const PictureSurface& picture) override;
    bool writeAudio(std::span<const int16_t> stereo) override;
    bool finish() override;

    static std::string frameName(long index);

private:
    std::string folder_;
    WavFile audio_;
    long frames_ = 0;
    std::vector<uint8_t> rgb_;
};
