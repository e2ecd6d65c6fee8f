#pragma once
// A FileWatch that looks at the file's modification time and size each time
// it is asked, through the standard library: the same on every system.

#include <cstdint>
#include <filesystem>

#include "platform/file_watch.h"

class PolledFileWatch : public FileWatch {
public:
    explicit PolledFileWatch(std::filesystem::path path);
    // A change counts once two looks in a row agree on it: an editor that
    // writes the file in pieces, or removes and renames it, is seen when it
    // has finished.
    bool changed() override;

private:
    struct Stamp {
        std::filesystem::file_type type = std::filesystem::file_type::not_found;
        std::filesystem::file_time_type written;
        std::uintmax_t size = 0;
        bool operator==(const Stamp&) const = default;
    };
    Stamp look() const;

    std::filesystem::path path_;
    Stamp seen_;      // at the last look
    Stamp reported_;  // at the last change told (or at the start)
};
