// File checks over POSIX: access, open with O_EXCL, ftruncate, isatty; a
// whole file read through open with O_NONBLOCK and fstat, and one written
// as new through open with O_EXCL.
#include "platform/file_access.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

std::filesystem::path pathFromUtf8(const std::string& name) { return name; }

std::string utf8FromPath(const std::filesystem::path& path) { return path.string(); }

bool folderWritable(const std::string& folder) { return access(folder.c_str(), W_OK | X_OK) == 0; }

bool fileWritable(const std::string& path) { return access(path.c_str(), W_OK) == 0; }

std::string tryCreateNewFile(const std::string& path) {
    const int file = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (file < 0) return std::strerror(errno);
    close(file);
    unlink(path.c_str());
    return {};
}

std::string writeNewFile(const std::string& path, std::string_view bytes, bool& taken) {
    // O_EXCL refuses any name that exists, a link included, whatever it points to.
    const int file = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    taken = file < 0 && errno == EEXIST;
    if (file < 0) return std::strerror(errno);
    std::size_t done = 0;
    int failure = 0;
    while (done < bytes.size() && failure == 0) {
        const ssize_t part = write(file, bytes.data() + done, bytes.size() - done);
        if (part >= 0)
            done += static_cast<std::size_t>(part);
        else if (errno != EINTR)
            failure = errno;
    }
    if (close(file) != 0 && failure == 0) failure = errno;
    if (failure == 0) return {};
    unlink(path.c_str());
    return std::strerror(failure);
}

void failWritesPastSizeLimit() { std::signal(SIGXFSZ, SIG_IGN); }

bool truncateOpenFile(std::FILE* file, std::uint64_t length) {
    return ftruncate(fileno(file), static_cast<off_t>(length)) == 0;
}

namespace {

FileRead readOpenFile(int file, std::uintmax_t limit, std::string& text, std::string& reason) {
    struct stat info {};
    if (fstat(file, &info) != 0) {
        reason = std::strerror(errno);
        return FileRead::Failed;
    }
    if (S_ISDIR(info.st_mode)) return FileRead::Folder;
    if (!S_ISREG(info.st_mode)) return FileRead::NotRegular;
    if (static_cast<std::uintmax_t>(info.st_size) > limit) return FileRead::TooLarge;
    // Read to the end rather than to the size stated: the file may grow
    // meanwhile. One byte more than allowed tells a file that is too large.
    const std::uintmax_t most = limit + 1;
    text.resize(static_cast<std::size_t>(std::min<std::uintmax_t>(most, info.st_size + 1)));
    std::size_t got = 0;
    while (got < most) {
        if (got == text.size()) text.resize(static_cast<std::size_t>(std::min<std::uintmax_t>(most, 2 * got)));
        const ssize_t part = read(file, text.data() + got, text.size() - got);
        if (part == 0) break;
        if (part < 0) {
            if (errno == EINTR) continue;
            reason = std::strerror(errno);
            return FileRead::Failed;
        }
        got += static_cast<std::size_t>(part);
    }
    text.resize(got);
    return got > limit ? FileRead::TooLarge : FileRead::Read;
}

}  // namespace

FileRead readRegularFile(const std::string& path, std::uintmax_t limit, std::string& text, std::string& reason) {
    text.clear();
    const int file = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (file < 0) {
        if (errno == ENOENT) return FileRead::Missing;
        reason = std::strerror(errno);
        return FileRead::Failed;
    }
    const FileRead result = readOpenFile(file, limit, text, reason);
    close(file);
    if (result != FileRead::Read) text.clear();
    return result;
}

bool errorOutputIsTerminal() { return isatty(STDERR_FILENO) == 1; }
