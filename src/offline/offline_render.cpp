#include "offline/offline_render.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <vector>

#include "app/user_messages.h"
#include "offline/frame_files.h"
#include "offline/progress_bar.h"
#include "offline/video_output.h"
#include "platform/file_access.h"
#include "platform/interrupt_watch.h"

namespace {

std::unique_ptr<RenderOutput> openOutput(const RenderJob& job, OfflineShow& show, std::ostream& err) {
    if (VideoOutput::isVideoPath(job.out)) {
        const VideoFormat format = {show.picture().width(), show.picture().height(), job.scale,
                                    show.fps(),             show.audioRate(),       job.smallVideo};
        const std::string warning = largeVideoWarning(format, show.frameCount());
        if (!warning.empty()) err << "zemra: " << warning << '\n';
        auto video = std::make_unique<VideoOutput>();
        video->open(job.out, format);
        return video;
    }
    auto files = std::make_unique<FrameFiles>();
    files->open(job.out, show.audioRate());
    return files;
}

std::string where(OfflineShow& show) {
    const SongPosition position = show.musicPosition();
    return "order " + std::to_string(position.order) + ", row " + std::to_string(position.row) + " (" +
           formatTime(show.frameTime()) + ")";
}

}  // namespace

bool checkRenderTarget(const std::string& out, std::string& reason) {
    namespace fs = std::filesystem;
    std::error_code failure;
    if (out.empty()) {
        reason = "--render needs a file or folder name";
        return false;
    }
    fs::path path = pathFromUtf8(out);
    if (!path.has_filename()) path = path.parent_path();  // "frames/" is the folder "frames"
    const fs::path parent = path.parent_path().empty() ? fs::path(".") : path.parent_path();
    if (!fs::is_directory(parent, failure) || !folderWritable(utf8FromPath(parent))) {
        reason = "cannot write '" + out + "': the folder '" + utf8FromPath(parent) + "' does not exist or is not writable";
        return false;
    }
    const fs::file_status status = fs::status(path, failure);
    if (VideoOutput::isVideoPath(out)) {
        if (fs::exists(status) && !fs::is_regular_file(status)) {
            reason = "cannot write the video '" + out + "': it exists and is not a file";
            return false;
        }
        if (fs::exists(status) && !fileWritable(utf8FromPath(path))) {
            reason = "cannot write the video '" + out + "': the file is write-protected";
            return false;
        }
        // Tried for real: the output's own name when it is new, and a name
        // as long as the side files' made beside it.
        std::string refused = fs::exists(status) ? std::string() : tryCreateNewFile(out);
        if (refused.empty()) refused = tryCreateNewFile(VideoOutput::sideFile(out, "check"));
        if (!refused.empty()) {
            reason = "cannot write the video '" + out + "': " + refused;
            return false;
        }
        return true;
    }
    if (fs::is_symlink(fs::symlink_status(path, failure)) && !fs::exists(status)) {
        reason = "cannot write frames to '" + out + "': it is a link to a folder that does not exist";
        return false;
    }
    if (!fs::exists(status)) {
        // Made meanwhile (by a render started beside this one) when the
        // attempt fails without a reason: the claim of the folder decides.
        if (fs::create_directory(path, failure)) {
            std::error_code ignored;
            fs::remove(path, ignored);
        }
        if (!failure) return true;
        reason = "cannot make the folder '" + out + "': " + failure.message();
        return false;
    }
    if (!fs::is_directory(status) || !fs::is_empty(path, failure)) {
        reason = "cannot write frames to '" + out + "': it exists and is not an empty folder";
        return false;
    }
    if (!folderWritable(utf8FromPath(path))) {
        reason = "cannot write frames to '" + out + "': the folder is not writable";
        return false;
    }
    return true;
}

int renderShow(const RenderJob& job, std::ostream& err, bool progressLive) {
    UserMessages console(nullptr, err);
    FailureWatch messages(console);
    OfflineShow show(job.show, messages);
    if (!show.start()) {
        show.finish();
        return 1;
    }
    // Ctrl-C asks the render to stop after the frame it is making; from here
    // on the files are closed validly, whatever happens.
    InterruptWatch interrupt;
    std::unique_ptr<RenderOutput> output = openOutput(job, show, err);
    if (!output->error().empty()) {
        show.finish();
        err << "zemra: " << output->error() << '\n';
        return output->refused() ? 2 : 1;
    }

    ProgressBar bar(err, show.frameCount(), progressLive);
    std::vector<int16_t> audio;
    long framesKept = 0;
    uint64_t samplesKept = 0;
    // The sound of the frames kept. A write that fails leaves none of its
    // samples: the frames whose sound is whole stay, with exactly that sound.
    const auto writeSound = [&] {
        if (output->writeAudio(audio)) {
            samplesKept += audio.size() / 2;
            return true;
        }
        long whole = framesKept;
        while (whole > 0 && show.audioFor(whole) > samplesKept) --whole;
        if (output->keepOnly(whole, show.audioFor(whole))) framesKept = whole;
        return false;
    };
    bool written = true;
    while (written && !interrupt.requested() && show.nextFrame()) {
        show.takeAudio(audio);
        if (output->writeFrame(show.picture())) {
            ++framesKept;
        } else {
            // The sound ends where the pictures kept do (the sound handed
            // out so far reaches into the frame that failed).
            written = false;
            const uint64_t due = show.audioFor(framesKept);
            audio.resize(std::min<std::size_t>(audio.size(), 2 * (due - std::min(due, samplesKept))));
        }
        written = writeSound() && written;
        bar.update(show.framesMade());
    }
    show.finish();
    show.takeAudio(audio);
    if (written) written = writeSound();
    const bool closed = output->finish();
    bar.finish(framesKept);

    if (!written || !closed) {
        err << "zemra: " << output->error() << '\n';
        if (framesKept > 0 && !VideoOutput::isVideoPath(job.out))
            err << "zemra: '" << job.out << "' holds the first " << framesKept << " frames with their sound\n";
        return 1;
    }
    const std::string made = std::to_string(show.framesMade()) + " frames";
    if (messages.failed) {
        err << "zemra: the show failed at " << where(show) << " after " << made << "; '" << job.out
            << "' holds them with their sound\n";
        return 1;
    }
    if (interrupt.requested()) {
        err << "zemra: stopped at " << where(show) << " after " << made << "; '" << job.out
            << "' holds them with their sound\n";
        return 130;
    }
    err << "zemra: wrote " << made << " (" << formatTime(static_cast<int32_t>(show.framesMade() * 1000 / show.fps()))
        << ") to '" << job.out << "'\n";
    return 0;
}
