// A render never loses what it made: a video appears only when complete and
// a failed join keeps the side files; a stop by signal (SIGINT, SIGTERM, the
// terminal closing) leaves complete files; names ffmpeg could misread still
// work; a full disk during PNG frames names the first failure and keeps the
// pictures and the sound the same length, before the first frame it says so
// and leaves nothing in a retry's way, during a video's encode it names
// the side files left; two renders never share a folder; lost standard
// output is a failure.
// The full-disk cases run on a small tmpfs, mounted where that is allowed.
#include <gtest/gtest.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "support/png.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

constexpr int kRate = 44100;

int exitStatus(int waitStatus) { return WIFEXITED(waitStatus) ? WEXITSTATUS(waitStatus) : -1; }

std::string readFile(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

bool onPath(const std::string& tool) { return std::system(("command -v " + tool + " >/dev/null 2>&1").c_str()) == 0; }

// Runs zemra with the arguments (a shell command line) from the folder; its
// exit status, with what it said on standard error in `said`.
int zemra(const std::string& args, std::string& said, const fs::path& from = fs::current_path()) {
    // One file per test process: CTest runs the tests side by side.
    const fs::path err =
        fs::absolute(fs::path(testpng::outputDir()) / ("render-failures-stderr-" + std::to_string(getpid())));
    const std::string command =
        "cd '" + from.string() + "' && " ZEMRA_EXECUTABLE " " + args + " >/dev/null 2>'" + err.string() + "'";
    const int status = exitStatus(std::system(command.c_str()));
    said = readFile(err);
    return status;
}

std::vector<std::string> namesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// A fresh folder under the test output, or a tmpfs of the given size mounted
// there (unmounted again at the end).
class Scratch {
public:
    explicit Scratch(const std::string& name, int tmpfsKb = 0) : path_(fs::path(testpng::outputDir()) / name) {
        std::system(("umount '" + path_.string() + "' 2>/dev/null").c_str());
        fs::remove_all(path_);
        fs::create_directories(path_);
        if (tmpfsKb > 0)
            mounted_ = std::system(("mount -t tmpfs -o size=" + std::to_string(tmpfsKb) + "k tmpfs '" + path_.string() +
                                    "' 2>/dev/null")
                                       .c_str()) == 0;
    }
    ~Scratch() {
        if (mounted_) std::system(("umount '" + path_.string() + "'").c_str());
    }
    const fs::path& path() const { return path_; }
    bool mounted() const { return mounted_; }

private:
    fs::path path_;
    bool mounted_ = false;
};

#define SKIP_WITHOUT_TMPFS(scratch) \
    if (!(scratch).mounted()) GTEST_SKIP() << "cannot mount a tmpfs here (needs root): the full-disk case is not tried"
#define SKIP_WITHOUT_FFMPEG() \
    if (!onPath("ffmpeg")) GTEST_SKIP() << "ffmpeg is missing (scripts/setup.sh installs it): no video made"

uint32_t littleEndian32(const std::string& bytes, std::size_t at) {
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = value << 8 | static_cast<uint8_t>(bytes[at + i]);
    return value;
}

long countFrames(const fs::path& folder) {
    long frames = 0;
    char name[32];
    while (true) {
        std::snprintf(name, sizeof name, "%06ld.png", frames);
        if (!fs::exists(folder / name)) return frames;
        ++frames;
    }
}

// A folder of frames that ends cleanly: every picture a whole PNG file, and
// audio.wav valid and exactly as long as the pictures at `fps`.
void expectFramesInStep(const fs::path& folder, int fps) {
    const long frames = countFrames(folder);
    EXPECT_GT(frames, 0);
    const std::string iend("\0\0\0\0IEND\xae\x42\x60\x82", 12);
    for (long frame = 0; frame < frames; ++frame) {
        char name[32];
        std::snprintf(name, sizeof name, "%06ld.png", frame);
        const std::string png = readFile(folder / name);
        EXPECT_TRUE(png.size() > 20 && png.compare(png.size() - 12, 12, iend) == 0) << name << " is cut short";
    }
    const std::string wav = readFile(folder / "audio.wav");
    ASSERT_GE(wav.size(), 44u);
    EXPECT_EQ(littleEndian32(wav, 4), wav.size() - 8);
    EXPECT_EQ(littleEndian32(wav, 40), wav.size() - 44);
    EXPECT_EQ((wav.size() - 44) / 4, static_cast<uint64_t>(frames) * kRate / fps) << frames << " frames";
}

// What a failure says names its cause: why a script file cannot be read or
// which encoding it has (a UTF-8 byte-order mark is accepted), a full disk
// before the first frame (which leaves no folder behind in the way of a retry).
TEST(RenderFailures, MessagesNameTheCause) {
    Scratch scratch("render-messages");
    const fs::path& dir = scratch.path();
    std::string said;
    const std::string script = [&] {
        zemra("--dump-script '" + (dir / "cut.txt").string() + "'", said);
        return readFile(dir / "cut.txt");
    }();
    ASSERT_FALSE(script.empty());
    std::ofstream(dir / "bom.txt", std::ios::binary) << "\xEF\xBB\xBF" << script;
    std::string utf16 = "\xFF\xFE";
    for (const char c : script) utf16 += std::string{c, '\0'};
    std::ofstream(dir / "utf16.txt", std::ios::binary) << utf16;
    fs::create_symlink("loop", dir / "loop");
    EXPECT_EQ(zemra("--script '" + (dir / "bom.txt").string() + "' --list", said), 0) << said;
    EXPECT_EQ(zemra("--script '" + (dir / "utf16.txt").string() + "' --list", said), 2);
    EXPECT_NE(said.find("utf16.txt: is UTF-16 text"), std::string::npos) << said;
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_EQ(zemra("--script '" + (dir / "loop").string() + "' --list", said), 2);
    EXPECT_NE(said.find("loop: cannot be read: Too many levels of symbolic links"), std::string::npos) << said;
    EXPECT_EQ(zemra("--script '" + (dir / "cut.txt").string() + "/' --list", said), 2);
    EXPECT_NE(said.find("cut.txt/: cannot be read: Not a directory"), std::string::npos) << said;

    Scratch full("render-full-at-once", 64);
    SKIP_WITHOUT_TMPFS(full);
    std::system(("dd if=/dev/zero of='" + (full.path() / "filler").string() + "' bs=4k 2>/dev/null").c_str());
    const fs::path frames = full.path() / "frames";
    EXPECT_EQ(zemra("--render '" + frames.string() + "' --start 5:0 --end 5:4", said), 1);
    EXPECT_NE(said.find("no space left on the disk"), std::string::npos) << said;
    EXPECT_FALSE(fs::exists(frames)) << said;
}

TEST(RenderFailures, AFailedJoinKeepsTheFileThatWasThereAndTheSideFiles) {
    SKIP_WITHOUT_FFMPEG();
    Scratch disk("render-full-join", 1000);
    SKIP_WITHOUT_TMPFS(disk);
    const fs::path out = disk.path() / "out.mp4";
    std::string said;

    // A short video fits and replaces nothing; no side files are left.
    ASSERT_EQ(zemra("--render '" + out.string() + "' --start 5:0 --end 5:2 --fps 10", said), 0) << said;
    EXPECT_EQ(namesIn(disk.path()), std::vector<std::string>{"out.mp4"});
    const std::string before = readFile(out);

    // A longer one: its side files fit, the joined video beside them does not.
    EXPECT_EQ(zemra("--render '" + out.string() + "' --start 5:0 --end 5:8 --fps 30", said), 1) << said;
    EXPECT_TRUE(readFile(out) == before) << "the earlier video is gone";
    EXPECT_NE(said.find("could not join video and sound"), std::string::npos) << said;
    EXPECT_NE(said.find("no space left on the disk"), std::string::npos) << said;
    const std::vector<std::string> names = namesIn(disk.path());
    ASSERT_EQ(names.size(), 3u) << said;
    for (const std::string& kept : {names[1], names[2]}) {
        EXPECT_NE(said.find("'" + (disk.path() / kept).string() + "'"), std::string::npos) << kept << " not named: " << said;
        EXPECT_GT(fs::file_size(disk.path() / kept), 44u);
    }
    EXPECT_NE(names[1].find("-audio.wav"), std::string::npos);
    EXPECT_NE(names[2].find("-video.mkv"), std::string::npos);
}

TEST(RenderFailures, AFullDiskDuringFramesNamesTheFirstFailureAndKeepsSoundInStep) {
    Scratch disk("render-full-frames", 1000);
    SKIP_WITHOUT_TMPFS(disk);
    const fs::path frames = disk.path() / "frames";
    std::string said;
    EXPECT_EQ(zemra("--render '" + frames.string() + "' --start 5:0 --end 7:0 --fps 30", said), 1) << said;
    EXPECT_NE(said.find(".png': no space left on the disk"), std::string::npos) << said;
    EXPECT_EQ(said.find("audio.wav'"), std::string::npos) << said;
    expectFramesInStep(frames, 30);
}

// Past the file-size limit (ulimit -f) a write fails as on a full disk,
// rather than the program being ended by the signal: the file and the
// reason are named, the frames kept have exactly their sound, the marker is
// gone; a script dump leaves no part of its file.
TEST(RenderFailures, AFileSizeLimitFailsAWriteAndEndsNothing) {
    Scratch scratch("render-size-limit");
    const fs::path frames = scratch.path() / "frames", dumped = scratch.path() / "cut.txt";
    const auto limited = [&](const std::string& blocks, const std::string& args) {
        const std::string command = "ulimit -f " + blocks + " && " ZEMRA_EXECUTABLE " " + args + " >/dev/null 2>'" +
                                    (scratch.path() / "said").string() + "'";
        return exitStatus(std::system(command.c_str()));
    };
    // The sound file meets the limit first: each picture is smaller.
    EXPECT_EQ(limited("600", "--render '" + frames.string() + "' --start 5:0 --end 9:0 --fps 30"), 1);
    const std::string said = readFile(scratch.path() / "said");
    EXPECT_NE(said.find("audio.wav': the file has reached the size limit"), std::string::npos) << said;
    expectFramesInStep(frames, 30);
    EXPECT_FALSE(fs::exists(frames / ".zemra-rendering"));
    EXPECT_NE(said.find("holds the first " + std::to_string(countFrames(frames)) + " frames"), std::string::npos)
        << said;

    EXPECT_EQ(limited("8", "--dump-script '" + dumped.string() + "'"), 1);
    EXPECT_NE(readFile(scratch.path() / "said").find(dumped.string()), std::string::npos);
    EXPECT_FALSE(fs::exists(dumped));
}

TEST(RenderFailures, AFullDiskDuringAnEncodeSaysSoAndNamesWhatIsLeft) {
    SKIP_WITHOUT_FFMPEG();
    Scratch disk("render-full-encode", 1000);
    SKIP_WITHOUT_TMPFS(disk);
    std::string said;
    EXPECT_EQ(zemra("--render '" + (disk.path() / "out.mp4").string() + "' --scale 4 --start 5:0 --end 9:0 --fps 10", said),
              1) << said;
    EXPECT_NE(said.find("no space left on the disk"), std::string::npos) << said;
    const std::vector<std::string> names = namesIn(disk.path());
    EXPECT_EQ(std::count(names.begin(), names.end(), "out.mp4"), 0);
    EXPECT_FALSE(names.empty());
    for (const std::string& kept : names)
        EXPECT_NE(said.find("'" + (disk.path() / kept).string() + "'"), std::string::npos) << kept << " not named: " << said;
}

// Starts a render, waits until it is under way, sends the signal; the exit status.
int stopBySignal(const fs::path& frames, int signal, int fps) {
    std::vector<std::string> args = {ZEMRA_EXECUTABLE, "--render", frames.string(), "--fps", std::to_string(fps),
                                     "--start", "5:0", "--end", "30:0"};
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    const int failure = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (failure != 0) return -2;
    // A video shows its progress only in its side files.
    const bool video = frames.extension() == ".mkv";
    const auto started = [&] {
        std::error_code none;
        return video ? !fs::is_empty(frames.parent_path(), none) : fs::exists(frames / "000002.png", none);
    };
    for (int wait = 0; wait < 600 && !started(); ++wait) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    std::this_thread::sleep_for(std::chrono::milliseconds(video ? 1000 : 200));
    kill(pid, signal);
    int status = 0;
    waitpid(pid, &status, 0);
    return exitStatus(status);
}

TEST(RenderFailures, TwoRendersIntoOneFolderLeaveOneWholeRender) {
    Scratch scratch("render-same-folder");
    const fs::path frames = scratch.path() / "same";
    // Started together, both into a folder that does not exist yet: one
    // writes it, the other is refused before writing.
    const std::string one = ZEMRA_EXECUTABLE " --render '" + frames.string() + "' --fps 10 ";
    const fs::path said = scratch.path() / "said";
    const std::string both = "(" + one + "--start 9:0 --end 10:0 2>'" + said.string() + "-a'; echo \\$? >'" + said.string() +
                             "-a.status') & (" + one + "--start 2:0 --end 3:0 2>'" + said.string() + "-b'; echo \\$? >'" +
                             said.string() + "-b.status') & wait";
    ASSERT_EQ(std::system(("bash -c \"" + both + "\"").c_str()), 0);
    std::vector<std::string> statuses = {readFile(said.string() + "-a.status"), readFile(said.string() + "-b.status")};
    std::sort(statuses.begin(), statuses.end());
    EXPECT_EQ(statuses, (std::vector<std::string>{"0\n", "2\n"}))
        << readFile(said.string() + "-a") << readFile(said.string() + "-b");
    // Which refusal depends on how far the other render got when it looked:
    // still writing, or already finished.
    const std::string refusal = readFile(said.string() + "-a") + readFile(said.string() + "-b");
    EXPECT_TRUE(refusal.find("another render is writing to it") != std::string::npos ||
                refusal.find("it exists and is not an empty folder") != std::string::npos)
        << refusal;
    expectFramesInStep(frames, 10);
    EXPECT_EQ(countFrames(frames), 64);  // 6.4 s at 10 fps: all of one render's frames
    EXPECT_FALSE(fs::exists(frames / ".zemra-rendering"));

    // Later renders into it are refused too.
    std::string later;
    EXPECT_EQ(zemra(one.substr(std::string(ZEMRA_EXECUTABLE).size()) + "--start 2:0 --end 2:4", later), 2) << later;
    EXPECT_EQ(countFrames(frames), 64);
}

TEST(RenderFailures, ClosingTheTerminalStopsLikeCtrlC) {
    Scratch scratch("render-signals");
    for (const int signal : {SIGHUP, SIGTERM, SIGINT}) {
        const fs::path frames = scratch.path() / ("frames-" + std::to_string(signal));
        EXPECT_EQ(stopBySignal(frames, signal, 30), 130) << "signal " << signal;
        expectFramesInStep(frames, 30);
    }
}

TEST(RenderFailures, AVideoStoppedByTheTerminalClosingIsComplete) {
    SKIP_WITHOUT_FFMPEG();
    Scratch scratch("render-signal-video");
    const fs::path video = scratch.path() / "stopped.mkv";
    // The video's side file appears as soon as ffmpeg starts writing it.
    EXPECT_EQ(stopBySignal(video, SIGHUP, 10), 130);
    EXPECT_EQ(namesIn(scratch.path()), std::vector<std::string>{"stopped.mkv"});
    const std::string probe = "ffmpeg -v error -i '" + video.string() + "' -f null - 2>&1";
    EXPECT_EQ(exitStatus(std::system(probe.c_str())), 0);
}

TEST(RenderFailures, VideoNamesFfmpegCouldMisreadAreWritten) {
    SKIP_WITHOUT_FFMPEG();
    Scratch scratch("render-odd-names");
    const std::string longName = std::string(251, 'n') + ".mkv";  // 255 bytes: the side files' suffix does not fit
    for (const std::string& name : {std::string("-x.mp4"), std::string("a:b.mp4"), longName}) {
        std::string said;
        EXPECT_EQ(zemra("--render '" + name + "' --start 5:0 --end 5:4 --fps 10", said, scratch.path()), 0)
            << name << ": " << said;
        EXPECT_GT(fs::exists(scratch.path() / name) ? fs::file_size(scratch.path() / name) : 0, 1000u) << name;
    }
    EXPECT_EQ(namesIn(scratch.path()).size(), 3u);  // no side files left
}

TEST(RenderFailures, AVideoShorterThanAFrameHasSoundAsLongAsItsPicture) {
    SKIP_WITHOUT_FFMPEG();
    Scratch scratch("render-one-frame");
    const fs::path video = scratch.path() / "short.mp4";
    std::string said;
    // 0.05 s of show at 1 fps: one frame of a second.
    ASSERT_EQ(zemra("--render '" + video.string() + "' --fps 1 --start 34:127 --end 35:0", said), 0) << said;
    const fs::path durations = scratch.path() / "durations";
    std::system(("ffprobe -v error -show_entries stream=codec_type,duration -of csv=p=0 '" + video.string() + "' >'" +
                 durations.string() + "'").c_str());
    std::istringstream lines(readFile(durations));
    std::string line;
    int streams = 0;
    while (std::getline(lines, line)) {
        ++streams;
        EXPECT_GT(std::stod(line.substr(line.find(',') + 1)), 0.95) << line;
    }
    EXPECT_EQ(streams, 2);
}

TEST(RenderFailures, LostStandardOutputIsAFailure) {
    for (const char* args : {"--list", "--bench --start 5:0 --end 5:4", "--help", "--version"}) {
        for (const char* output : {">/dev/full", ">&-"}) {
            const fs::path err = fs::path(testpng::outputDir()) / "render-failures-stdout";
            const std::string command = std::string(ZEMRA_EXECUTABLE " ") + args + " " + output + " 2>'" + err.string() + "'";
            EXPECT_EQ(exitStatus(std::system(command.c_str())), 1) << args << " " << output;
            EXPECT_NE(readFile(err).find("zemra: cannot write to standard output"), std::string::npos)
                << args << " " << output << ": " << readFile(err);
        }
    }
}

}  // namespace
