#include "platform/portable/polled_file_watch.h"

#include <system_error>
#include <utility>

PolledFileWatch::PolledFileWatch(std::filesystem::path path) : path_(std::move(path)) {
    seen_ = reported_ = look();
}

PolledFileWatch::Stamp PolledFileWatch::look() const {
    Stamp stamp;
    std::error_code failure;
    stamp.written = std::filesystem::last_write_time(path_, failure);
    if (failure) return {};
    stamp.size = std::filesystem::file_size(path_, failure);
    if (failure) return {};
    stamp.exists = true;
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
