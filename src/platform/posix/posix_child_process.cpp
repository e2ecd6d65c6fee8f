// ChildProcess over POSIX: posix_spawnp, a pipe, waitpid.
#include "platform/child_process.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <string_view>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

class PosixChildProcess : public ChildProcess {
public:
    ~PosixChildProcess() override {
        closeInput();
        wait();
    }
    bool start(const std::vector<std::string>& args, bool pipeInput);
    bool write(const void* bytes, std::size_t length) override;
    void closeInput() override;
    int wait() override;

private:
    pid_t pid_ = -1;
    int input_ = -1;
};

bool PosixChildProcess::start(const std::vector<std::string>& args, bool pipeInput) {
    if (args.empty() || pid_ > 0) return false;
    int pipeEnds[2] = {-1, -1};
    if (pipeInput && pipe2(pipeEnds, O_CLOEXEC) != 0) return false;

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (pipeInput)
        posix_spawn_file_actions_adddup2(&actions, pipeEnds[0], STDIN_FILENO);
    else
        posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);

    // Its own process group, with the signals we may have set aside (a
    // closed pipe, Ctrl-C) back to their defaults.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    sigaddset(&defaults, SIGINT);
    sigaddset(&defaults, SIGTERM);
    sigaddset(&defaults, SIGHUP);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setpgroup(&attributes, 0);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGDEF);

    std::vector<char*> argv;
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    const int failure = posix_spawnp(&pid_, argv[0], &actions, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);

    if (pipeInput) close(pipeEnds[0]);
    if (failure != 0) {
        pid_ = -1;
        if (pipeInput) close(pipeEnds[1]);
        return false;
    }
    input_ = pipeInput ? pipeEnds[1] : -1;
    return true;
}

bool PosixChildProcess::write(const void* bytes, std::size_t length) {
    const auto* at = static_cast<const char*>(bytes);
    while (length > 0 && input_ >= 0) {
        const ssize_t written = ::write(input_, at, length);
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        at += written;
        length -= static_cast<std::size_t>(written);
    }
    return length == 0;
}

void PosixChildProcess::closeInput() {
    if (input_ >= 0) close(input_);
    input_ = -1;
}

int PosixChildProcess::wait() {
    if (pid_ <= 0) return -1;
    int status = 0;
    pid_t done;
    do {
        done = waitpid(pid_, &status, 0);
    } while (done < 0 && errno == EINTR);
    pid_ = -1;
    if (done < 0 || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

}  // namespace

std::unique_ptr<ChildProcess> startChildProcess(const std::vector<std::string>& args, bool pipeInput) {
    auto process = std::make_unique<PosixChildProcess>();
    if (!process->start(args, pipeInput)) return nullptr;
    return process;
}

std::string howToGetProgram(const std::string& name) { return "apt-get install " + name; }

long currentProcessId() { return static_cast<long>(getpid()); }

bool programOnPath(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::string_view rest = path ? path : "/usr/bin:/bin";
    while (true) {
        const std::size_t colon = rest.find(':');
        const std::string_view folder = rest.substr(0, colon);
        const std::filesystem::path candidate = std::filesystem::path(folder.empty() ? "." : folder) / name;
        if (access(candidate.c_str(), X_OK) == 0) return true;
        if (colon == std::string_view::npos) return false;
        rest.remove_prefix(colon + 1);
    }
}
