// ChildProcess over Windows: the program found beside zemra.exe or on the
// PATH, started with CreateProcessW, its standard input an inherited pipe.
#include "platform/child_process.h"

#include <windows.h>

#include <cwctype>
#include <filesystem>

#include "platform/win32/wide_text.h"
#include "platform/win32/windows_command_line.h"

namespace {

namespace fs = std::filesystem;

std::wstring environmentVariable(const wchar_t* name) {
    const DWORD length = GetEnvironmentVariableW(name, nullptr, 0);
    if (length == 0) return {};
    std::wstring value(length, L'\0');
    const DWORD written = GetEnvironmentVariableW(name, value.data(), length);
    value.resize(written < length ? written : 0);
    return value;
}

std::vector<std::wstring> splitList(const std::wstring& list) {
    std::vector<std::wstring> parts;
    std::size_t start = 0;
    while (start <= list.size()) {
        std::size_t end = list.find(L';', start);
        if (end == std::wstring::npos) end = list.size();
        std::wstring part = list.substr(start, end - start);
        // PATH entries may be quoted.
        if (part.size() >= 2 && part.front() == L'"' && part.back() == L'"') part = part.substr(1, part.size() - 2);
        if (!part.empty()) parts.push_back(part);
        start = end + 1;
    }
    return parts;
}

fs::path programFolder() {
    std::wstring path(MAX_PATH, L'\0');
    while (true) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            return fs::path(path).parent_path();
        }
        path.resize(path.size() * 2);
    }
}

// The extensions a bare program name may take: those of PATHEXT that
// CreateProcessW can start by itself. Batch files would need cmd.exe, whose
// quoting differs; they are not looked for.
std::vector<std::wstring> programExtensions() {
    std::wstring list = environmentVariable(L"PATHEXT");
    if (list.empty()) list = L".COM;.EXE";
    std::vector<std::wstring> kept;
    for (std::wstring extension : splitList(list)) {
        for (wchar_t& c : extension) c = static_cast<wchar_t>(std::towlower(c));
        if (extension == L".exe" || extension == L".com") kept.push_back(extension);
    }
    return kept;
}

bool isFile(const fs::path& candidate) {
    std::error_code failure;
    return fs::is_regular_file(candidate, failure);
}

// The file a program name stands for: a name with a folder as it is, else
// the first match beside zemra.exe or in a PATH folder, with the name as
// given when it has an extension, then with each of PATHEXT's.
fs::path findProgram(const std::string& name) {
    const fs::path given(widen(name));
    std::vector<fs::path> names;
    if (given.has_extension()) names.push_back(given);
    for (const std::wstring& extension : programExtensions()) names.push_back(fs::path(given).concat(extension));
    if (given.has_parent_path()) {
        for (const fs::path& candidate : names)
            if (isFile(candidate)) return candidate;
        return {};
    }
    std::vector<fs::path> folders;
    const fs::path own = programFolder();
    if (!own.empty()) folders.push_back(own);
    for (const std::wstring& folder : splitList(environmentVariable(L"PATH"))) folders.push_back(folder);
    for (const fs::path& folder : folders)
        for (const fs::path& candidate : names)
            if (isFile(folder / candidate)) return folder / candidate;
    return {};
}

class Win32ChildProcess : public ChildProcess {
public:
    ~Win32ChildProcess() override {
        closeInput();
        wait();
    }
    bool start(const std::vector<std::string>& args, bool pipeInput);
    bool write(const void* bytes, std::size_t length) override;
    void closeInput() override;
    int wait() override;

private:
    HANDLE process_ = nullptr;
    HANDLE input_ = nullptr;
};

bool Win32ChildProcess::start(const std::vector<std::string>& args, bool pipeInput) {
    if (args.empty() || process_) return false;
    const fs::path program = findProgram(args[0]);
    if (program.empty()) return false;

    // The child's end of the pipe is inheritable, ours is not. Without a
    // pipe its input is the null device.
    SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE childInput = nullptr;
    HANDLE ourInput = nullptr;
    if (pipeInput) {
        if (!CreatePipe(&childInput, &ourInput, &inheritable, 1 << 16)) return false;
        SetHandleInformation(ourInput, HANDLE_FLAG_INHERIT, 0);
    } else {
        childInput = CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inheritable,
                                 OPEN_EXISTING, 0, nullptr);
        if (childInput == INVALID_HANDLE_VALUE) return false;
    }

    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = childInput;
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);

    std::wstring commandLine = widen(windowsCommandLine(args));
    PROCESS_INFORMATION started{};
    // A process group of its own: a Ctrl-C in the console stops only us, and
    // we let it finish its file when the input ends.
    const BOOL ok = CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                                   CREATE_NEW_PROCESS_GROUP | CREATE_UNICODE_ENVIRONMENT, nullptr, nullptr, &startup,
                                   &started);
    CloseHandle(childInput);
    if (!ok) {
        if (ourInput) CloseHandle(ourInput);
        return false;
    }
    CloseHandle(started.hThread);
    process_ = started.hProcess;
    input_ = ourInput;
    return true;
}

bool Win32ChildProcess::write(const void* bytes, std::size_t length) {
    const auto* at = static_cast<const char*>(bytes);
    while (length > 0 && input_) {
        const DWORD part = length > (1u << 30) ? (1u << 30) : static_cast<DWORD>(length);
        DWORD written = 0;
        if (!WriteFile(input_, at, part, &written, nullptr)) return false;
        at += written;
        length -= written;
    }
    return length == 0;
}

void Win32ChildProcess::closeInput() {
    if (input_) CloseHandle(input_);
    input_ = nullptr;
}

int Win32ChildProcess::wait() {
    if (!process_) return -1;
    DWORD status = 0;
    const bool done = WaitForSingleObject(process_, INFINITE) == WAIT_OBJECT_0 && GetExitCodeProcess(process_, &status);
    CloseHandle(process_);
    process_ = nullptr;
    if (!done) return -1;
    return static_cast<int>(status);
}

}  // namespace

std::unique_ptr<ChildProcess> startChildProcess(const std::vector<std::string>& args, bool pipeInput) {
    auto process = std::make_unique<Win32ChildProcess>();
    if (!process->start(args, pipeInput)) return nullptr;
    return process;
}

std::string howToGetProgram(const std::string& name) {
    return "put " + name + ".exe on the PATH or in the folder of zemra.exe";
}

long currentProcessId() { return static_cast<long>(GetCurrentProcessId()); }

bool programOnPath(const std::string& name) { return !findProgram(name).empty(); }
