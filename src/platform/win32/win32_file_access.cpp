// File checks over Windows' wide-character calls, so that paths with any
// characters work whatever the console's code page.
#include "platform/file_access.h"

#include <windows.h>

#include <io.h>

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

bool truncateOpenFile(std::FILE* file, std::uint64_t length) {
    return _chsize_s(_fileno(file), static_cast<long long>(length)) == 0;
}

bool errorOutputIsTerminal() {
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
}
