#pragma once
// What the operating system says about files and the terminal, for the
// offline output's checks before it writes, and reading a whole file.
// Paths are UTF-8.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

// The file system's path for a UTF-8 name, and the UTF-8 name of a path.
// The standard library reads narrow names in the system's own encoding,
// which on Windows is not UTF-8 for it: every std::filesystem call on a name
// from the command line goes through these.
std::filesystem::path pathFromUtf8(const std::string& name);
std::string utf8FromPath(const std::filesystem::path& path);

// True when this process may make files in the folder.
bool folderWritable(const std::string& folder);
// True when this process may write the existing file.
bool fileWritable(const std::string& path);
// Makes path as a new file (failing when it exists) and removes it again:
// empty when that worked, else the system's reason.
std::string tryCreateNewFile(const std::string& path);
// Makes path as a new file holding `bytes`, in one step that fails when the
// name is taken in any way, by a link too (so nothing is written through a
// link, and of two writers one fails). Empty when written, else the
// system's reason, with `taken` set when the name was. A file that could
// not be written whole is removed.
std::string writeNewFile(const std::string& path, std::string_view bytes, bool& taken);
// From here on a write past the file-size limit set for this program (ulimit
// -f) fails with an error, to be reported like a full disk, instead of
// ending the program with a file half written. Call first thing in main.
void failWritesPastSizeLimit();
// Cuts an open file to length bytes. False when it cannot.
bool truncateOpenFile(std::FILE* file, std::uint64_t length);
// What reading a whole file came to.
enum class FileRead { Read, Missing, Folder, NotRegular, TooLarge, Failed };
// Reads the file at path into `text` when it is a regular file of at most
// `limit` bytes. The file is opened without waiting (a pipe with nobody
// writing to it would hold the program) and checked before anything is
// read: a folder, a pipe or a device is refused. After Failed, `reason`
// holds the system's reason.
FileRead readRegularFile(const std::string& path, std::uintmax_t limit, std::string& text, std::string& reason);
// True when standard error is a terminal (where a progress bar may redraw).
bool errorOutputIsTerminal();
