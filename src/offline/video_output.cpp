#include "offline/video_output.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "platform/file_access.h"

namespace {

// The longest file name most file systems take (NAME_MAX).
constexpr std::size_t kFileNameLimit = 255;

std::string lowerExtension(const std::string& path) {
    std::string extension = utf8FromPath(pathFromUtf8(path).extension());
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

}  // namespace

std::string largeVideoWarning(const VideoFormat& format, long frames) {
    // Measured on two cores: the whole show at --scale 16 (5120 x 3840) took
    // ffmpeg 3.9 GB, some 200 bytes per pixel of a frame. With the veryfast
    // preset the whole show went through at 74 million pixels a second at
    // --scale 3 and 91 million at --scale 6; the slow preset takes about
    // five times as long.
    constexpr double kBytesPerPixel = 200, kPixelsPerSecond = 80e6;
    constexpr double kWarnBytes = 1.5e9, kWarnSeconds = 20 * 60;
    const long width = static_cast<long>(format.width) * format.scale;
    const long height = static_cast<long>(format.height) * format.scale;
    const double pixels = static_cast<double>(width) * static_cast<double>(height);
    const double bytes = pixels * kBytesPerPixel;
    const double seconds = pixels * static_cast<double>(frames) / kPixelsPerSecond * (format.small ? 5 : 1);
    if (bytes < kWarnBytes && seconds < kWarnSeconds) return {};
    const long minutes = std::max(1L, std::lround(seconds / 60));
    char memory[32];
    std::snprintf(memory, sizeof memory, "%.1f GB", bytes / 1e9);
    return "a " + std::to_string(width) + " x " + std::to_string(height) + " video: ffmpeg will need about " + memory +
           " of memory and some " + std::to_string(minutes) + " minutes for " + std::to_string(frames) +
           " frames (a smaller --scale is quicker)";
}

bool VideoOutput::isVideoPath(const std::string& path) {
    const std::string extension = lowerExtension(path);
    return extension == ".mp4" || extension == ".mkv";
}

std::string VideoOutput::sideFile(const std::string& path, const std::string& tag) {
    const std::filesystem::path output = pathFromUtf8(path);
    const std::string suffix = ".zemra-" + std::to_string(currentProcessId()) + "-" + tag;
    // Shortened where needed, never inside a character's UTF-8 bytes.
    std::string name = utf8FromPath(output.filename());
    std::size_t keep = std::min(name.size(), kFileNameLimit - suffix.size());
    while (keep > 0 && keep < name.size() && (static_cast<unsigned char>(name[keep]) & 0xC0) == 0x80) --keep;
    name.resize(keep);
    return utf8FromPath(output.parent_path() / pathFromUtf8(name + suffix));
}

std::string VideoOutput::ffmpegPath(const std::string& path) { return "file:" + path; }

VideoOutput::~VideoOutput() {
    if (!finished_) {
        encoder_.reset();  // ends its input and waits for it
        audio_.close();
        removeSideFiles();
    }
}

bool VideoOutput::open(const std::string& path, const VideoFormat& format) {
    path_ = path;
    format_ = format;
    // Side files beside the output, named after it and this process.
    videoPart_ = sideFile(path, "video.mkv");
    audioPart_ = sideFile(path, "audio.wav");
    joinedPart_ = sideFile(path, "joined" + lowerExtension(path));

    if (!programOnPath(kFfmpeg)) return fail(ffmpegMissing());
    if (!audio_.open(audioPart_, format.audioRate))
        return fail("cannot write '" + audioPart_ + "'" + writeFailureNote(audioPart_, audio_.writeError()));

    // veryfast keeps up with the show on two cores: against the medium preset
    // it takes a third of the time for a file of the same size and a picture
    // within 0.3 dB (the chroma planes' halving costs far more at odd scales).
    const std::string size = std::to_string(format.width) + "x" + std::to_string(format.height);
    const std::string enlarge = "scale=iw*" + std::to_string(format.scale) + ":ih*" + std::to_string(format.scale) +
                                ":flags=neighbor,format=yuv420p";
    const std::vector<std::string> args = {
        kFfmpeg, "-hide_banner", "-loglevel", "error", "-f", "rawvideo", "-pix_fmt", "rgb24", "-video_size", size,
        "-framerate", std::to_string(format.fps), "-i", "pipe:0", "-vf", enlarge, "-c:v", "libx264", "-preset",
        format.small ? "slow" : "veryfast", "-crf", format.small ? "20" : "16", "-f", "matroska", "-y",
        ffmpegPath(videoPart_)};
    encoder_ = startChildProcess(args, true);
    if (!encoder_) {
        audio_.close();
        removeSideFiles();
        return fail("cannot start ffmpeg");
    }
    return true;
}

bool VideoOutput::writeFrame(const PictureSurface& picture) {
    pictureToRgb24(picture, rgb_);
    if (encoder_ && encoder_->write(rgb_.data(), rgb_.size())) {
        ++frames_;
        return true;
    }
    return fail("ffmpeg stopped taking frames" + noSpaceNote(videoPart_));
}

bool VideoOutput::writeAudio(std::span<const int16_t> stereo) {
    if (stereo.empty() || audio_.write(stereo)) return true;
    return fail("cannot write the sound to '" + audioPart_ + "'" +
                writeFailureNote(audioPart_, audio_.writeError()));
}

void VideoOutput::padSound() {
    // A range shorter than a frame (at --fps 1, say) still gives a whole
    // frame: the sound is padded with silence to last as long as the picture.
    if (!error().empty()) return;
    const uint64_t due = static_cast<uint64_t>(frames_) * format_.audioRate / format_.fps;
    if (audio_.framesWritten() >= due) return;
    const std::vector<int16_t> silence(2 * (due - audio_.framesWritten()), 0);
    audio_.write(silence);
}

bool VideoOutput::failKeepingSideFiles(std::string reason) {
    fail(std::move(reason));
    // A side file that holds nothing (ffmpeg wrote no byte, the sound no
    // sample) is removed; the others are named.
    std::error_code none;
    const auto holds = [&](const std::string& path, std::uintmax_t header) {
        const std::uintmax_t size = std::filesystem::file_size(pathFromUtf8(path), none);
        if (!none && size > header) return true;
        std::filesystem::remove(pathFromUtf8(path), none);
        return false;
    };
    const bool video = holds(videoPart_, 0), audio = holds(audioPart_, WavFile::kHeaderBytes);
    if (video && audio)
        appendToError("; the video made so far is in '" + videoPart_ + "' and its sound in '" + audioPart_ + "'");
    else if (video)
        appendToError("; the video made so far is in '" + videoPart_ + "', without sound");
    else if (audio)
        appendToError("; the sound made so far is in '" + audioPart_ + "', without video");
    return false;
}

bool VideoOutput::finish() {
    if (finished_) return true;
    finished_ = true;
    bool videoDone = false;
    if (encoder_) {
        encoder_->closeInput();
        videoDone = encoder_->wait() == 0;
    }
    padSound();
    const bool audioDone = audio_.close();
    if (!videoDone) return failKeepingSideFiles("ffmpeg could not encode the video" + noSpaceNote(videoPart_));
    if (!audioDone)
        return failKeepingSideFiles("cannot complete the sound file '" + audioPart_ + "'" + noSpaceNote(audioPart_));
    if (!join()) return false;
    removeSideFiles();
    return true;
}

bool VideoOutput::join() {
    std::vector<std::string> args = {kFfmpeg, "-hide_banner", "-loglevel", "error", "-nostdin",
                                     "-i", ffmpegPath(videoPart_), "-i", ffmpegPath(audioPart_),
                                     "-map", "0:v", "-map", "1:a", "-c:v", "copy", "-c:a", "aac", "-b:a", "192k"};
    if (lowerExtension(path_) == ".mp4")
        args.insert(args.end(), {"-movflags", "+faststart", "-f", "mp4"});
    else
        args.insert(args.end(), {"-f", "matroska"});
    args.insert(args.end(), {"-y", ffmpegPath(joinedPart_)});
    const std::unique_ptr<ChildProcess> joiner = startChildProcess(args, false);
    const bool joined = joiner && joiner->wait() == 0;
    std::error_code failure;
    if (joined) std::filesystem::rename(pathFromUtf8(joinedPart_), pathFromUtf8(path_), failure);
    if (!joined || failure) {
        // The disk is looked at before the part joined so far frees its space.
        const std::string why = failure ? ": " + failure.message() : noSpaceNote(path_);
        std::error_code ignored;
        std::filesystem::remove(pathFromUtf8(joinedPart_), ignored);
        return failKeepingSideFiles("ffmpeg could not join video and sound into '" + path_ + "'" + why);
    }
    return true;
}

void VideoOutput::removeSideFiles() {
    std::error_code ignored;
    std::filesystem::remove(pathFromUtf8(videoPart_), ignored);
    std::filesystem::remove(pathFromUtf8(audioPart_), ignored);
}
