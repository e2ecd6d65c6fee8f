// File checks over Windows' wide-character calls, so that paths with any
// characters work whatever the console's code page.
#include "platform/file_access.h"

#include <windows.h>

#include <io.h>

#include <algorithm>

#include "platform/win32/wide_text.h"

namespace {

std::string systemMessage(DWORD error) {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
        0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring message(text ? text : L"", length);
    LocalFree(text);
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' || message.back() == L'.'))
        message.pop_back();
    return message.empty() ? "error " + std::to_string(error) : narrow(message);
}

}  // namespace

std::filesystem::path pathFromUtf8(const std::string& name) {
    return std::u8string(reinterpret_cast<const char8_t*>(name.data()), name.size());
}

std::string utf8FromPath(const std::filesystem::path& path) {
    const std::u8string name = path.u8string();
    return std::string(reinterpret_cast<const char*>(name.data()), name.size());
}

bool folderWritable(const std::string& folder) {
    // Windows' permissions are best asked by trying: a file made and removed.
    const DWORD attributes = GetFileAttributesW(widen(folder).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
    const std::string probe = folder + "\\.zemra-" + std::to_string(GetCurrentProcessId()) + ".tmp";
    return tryCreateNewFile(probe).empty();
}

bool fileWritable(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(widen(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_READONLY)) return false;
    const HANDLE file = CreateFileW(widen(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
}

std::string tryCreateNewFile(const std::string& path) {
    const HANDLE file = CreateFileW(widen(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE) return systemMessage(GetLastError());
    CloseHandle(file);
    return {};
}

std::string writeNewFile(const std::string& path, std::string_view bytes, bool& taken) {
    // CREATE_NEW fails on any name that exists, a link included.
    const HANDLE file = CreateFileW(widen(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                                    nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        taken = error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS;
        return systemMessage(error);
    }
    taken = false;
    std::size_t done = 0;
    DWORD failure = 0;
    while (done < bytes.size() && failure == 0) {
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 20));
        DWORD part = 0;
        if (WriteFile(file, bytes.data() + done, want, &part, nullptr))
            done += part;
        else
            failure = GetLastError();
    }
    if (!CloseHandle(file) && failure == 0) failure = GetLastError();
    if (failure == 0) return {};
    DeleteFileW(widen(path).c_str());
    return systemMessage(failure);
}

// Windows has no such limit: a write fails by itself.
void failWritesPastSizeLimit() {}

bool truncateOpenFile(std::FILE* file, std::uint64_t length) {
    return _chsize_s(_fileno(file), static_cast<long long>(length)) == 0;
}

FileRead readRegularFile(const std::string& path, std::uintmax_t limit, std::string& text, std::string& reason) {
    text.clear();
    // Backup semantics lets a folder be opened too, so that it can be told apart.
    const HANDLE file = CreateFileW(widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return FileRead::Missing;
        reason = systemMessage(error);
        return FileRead::Failed;
    }
    FileRead result = FileRead::Read;
    BY_HANDLE_FILE_INFORMATION info{};
    const bool known = GetFileType(file) == FILE_TYPE_DISK && GetFileInformationByHandle(file, &info);
    const std::uintmax_t size = std::uintmax_t{info.nFileSizeHigh} << 32 | info.nFileSizeLow;
    if (GetFileType(file) != FILE_TYPE_DISK) {
        result = FileRead::NotRegular;  // a console, a pipe, a device
    } else if (!known) {
        reason = systemMessage(GetLastError());
        result = FileRead::Failed;
    } else if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        result = FileRead::Folder;
    } else if (size > limit) {
        result = FileRead::TooLarge;
    } else {
        // Read to the end: one byte more than allowed tells a file that grew too large.
        const std::uintmax_t most = limit + 1;
        std::size_t got = 0;
        text.resize(static_cast<std::size_t>(std::min<std::uintmax_t>(most, size + 1)));
        while (got < most) {
            if (got == text.size()) text.resize(static_cast<std::size_t>(std::min<std::uintmax_t>(most, 2 * got)));
            const DWORD want = static_cast<DWORD>(std::min<std::size_t>(text.size() - got, 1u << 20));
            DWORD part = 0;
            if (!ReadFile(file, text.data() + got, want, &part, nullptr)) {
                reason = systemMessage(GetLastError());
                result = FileRead::Failed;
                break;
            }
            if (part == 0) break;
            got += part;
        }
        text.resize(got);
        if (result == FileRead::Read && got > limit) result = FileRead::TooLarge;
    }
    CloseHandle(file);
    if (result != FileRead::Read) text.clear();
    return result;
}

bool errorOutputIsTerminal() {
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
}
