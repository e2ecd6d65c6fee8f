#pragma once
// Raw deflate (no zlib or gzip header) through zlib, with a preset
// dictionary: text that repeats the dictionary costs a few bytes a stretch.
// Unpacking stops at a size limit, so a few bytes cannot grow into a
// hundred megabytes.

#include <cstddef>
#include <string>
#include <string_view>

std::string deflateRaw(std::string_view data, std::string_view dictionary);

enum class Inflated {
    Whole,     // the stream ended, and all of it fitted
    Cut,       // the data ended before the stream did
    Damaged,   // not a deflate stream, or bytes after its end
    TooLarge,  // it unpacks to more than the limit: stopped there
};

Inflated inflateRaw(std::string_view packed, std::string_view dictionary, std::size_t limit, std::string& data);
