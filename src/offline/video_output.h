#pragma once
// A render as one video file (.mp4 or .mkv): H.264 video with the picture
// enlarged by whole pixels, and AAC sound, made by ffmpeg.
//
// The frames go to an ffmpeg process through a pipe as they are made and
// become a silent video beside the output; the sound goes to a WAV file
// beside it. When the render ends, however early, a second ffmpeg joins the
// two into a temporary file in the same folder, which then takes the
// output's name: the output appears only when it is complete, and a file
// that had its name stays until then. The side files are removed once the
// output is there; when encoding, completing the sound or joining fails (a
// full disk among others) they stay, and the error names them: they hold
// the render up to the failure. One that holds nothing is removed.
// Two plain steps, with no two pipes for ffmpeg to read in step with each
// other.

#include <memory>
#include <string>
#include <vector>

#include "offline/render_output.h"
#include "offline/wav_file.h"
#include "platform/child_process.h"

// The program that makes the video, and what to say when it is missing.
inline constexpr const char* kFfmpeg = "ffmpeg";
inline std::string ffmpegMissing() {
    return std::string("making a video needs ffmpeg, which is not installed (") + howToGetProgram(kFfmpeg) + ")";
}

struct VideoFormat {
    int width = 0, height = 0;  // the picture's own size
    int scale = 3;              // each picture pixel becomes scale x scale
    int fps = 60;
    int audioRate = 44100;
    // x264's slow preset at quality 20: a file a third to a half smaller,
    // about five times the encoding time, a picture about 0.5 dB lower.
    bool small = false;
};

// A warning before a video that takes ffmpeg much memory or a long time
// (the size, the memory and the expected time), else empty.
std::string largeVideoWarning(const VideoFormat& format, long frames);

class VideoOutput : public RenderOutput {
public:
    ~VideoOutput() override;
    bool open(const std::string& path, const VideoFormat& format);

    bool writeFrame(const PictureSurface& picture) override;
    bool writeAudio(std::span<const int16_t> stereo) override;
    bool finish() override;

    static bool isVideoPath(const std::string& path);
    // A file beside the video at `path`, named after it and this process and
    // ending in `tag`; its name is cut to fit the file-name limit.
    static std::string sideFile(const std::string& path, const std::string& tag);
    // The path as ffmpeg must be given it: through its file protocol, so that
    // a name starting with '-' or holding ':' is not read as an option or
    // another protocol.
    static std::string ffmpegPath(const std::string& path);

private:
    bool join();
    void removeSideFiles();
    void padSound();
    // Fails, keeping the side files that hold something and naming them.
    bool failKeepingSideFiles(std::string reason);

    std::string path_, videoPart_, audioPart_, joinedPart_;
    VideoFormat format_;
    std::unique_ptr<ChildProcess> encoder_;
    WavFile audio_;
    std::vector<uint8_t> rgb_;
    long frames_ = 0;
    bool finished_ = false;
};
