#include "platform/portable/polled_file_watch.h"

#include <system_error>
#include <utility>

PolledFileWatch::PolledFileWatch(std::filesystem::path path) : path_(std::move(path)) {
    seen_ = reported_ = look();
}

// A file that becomes a folder (or a pipe) is a change too: only a regular
// file has a size.
PolledFileWatch::Stamp PolledFileWatch::look() const {
    Stamp stamp;
    std::error_code failure;
    const std::filesystem::file_status status = std::filesystem::status(path_, failure);
    if (failure || !std::filesystem::exists(status)) return {};
    stamp.written = std::filesystem::last_write_time(path_, failure);
    if (failure) return {};
    if (std::filesystem::is_regular_file(status)) stamp.size = std::filesystem::file_size(path_, failure);
    if (failure) return {};
    stamp.type = status.type();
    return stamp;
}

bool PolledFileWatch::changed() {
    const Stamp now = look();
    if (!(now == seen_)) {
        seen_ = now;  // still changing, maybe: told at the next look that agrees
        return false;
    }
    if (now == reported_) return false;
    reported_ = now;
    return true;
}
