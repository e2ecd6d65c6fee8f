// File checks over POSIX: access, open with O_EXCL, ftruncate, isatty.
#include "platform/file_access.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
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

bool truncateOpenFile(std::FILE* file, std::uint64_t length) {
    return ftruncate(fileno(file), static_cast<off_t>(length)) == 0;
}

bool errorOutputIsTerminal() { return isatty(STDERR_FILENO) == 1; }
