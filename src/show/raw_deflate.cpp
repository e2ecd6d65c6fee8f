#include "show/raw_deflate.h"

#include <zlib.h>

namespace {

constexpr int kRawWindowBits = -15;  // negative: no header, no checksum

Bytef* bytesOf(std::string_view text) { return reinterpret_cast<Bytef*>(const_cast<char*>(text.data())); }

}  // namespace

std::string deflateRaw(std::string_view data, std::string_view dictionary) {
    z_stream stream{};
    if (deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, kRawWindowBits, 9, Z_DEFAULT_STRATEGY) != Z_OK)
        return {};
    deflateSetDictionary(&stream, bytesOf(dictionary), static_cast<uInt>(dictionary.size()));
    std::string packed(deflateBound(&stream, static_cast<uLong>(data.size())), '\0');
    stream.next_in = bytesOf(data);
    stream.avail_in = static_cast<uInt>(data.size());
    stream.next_out = reinterpret_cast<Bytef*>(packed.data());
    stream.avail_out = static_cast<uInt>(packed.size());
    deflate(&stream, Z_FINISH);  // the bound holds everything: one call finishes
    packed.resize(stream.total_out);
    deflateEnd(&stream);
    return packed;
}

Inflated inflateRaw(std::string_view packed, std::string_view dictionary, std::size_t limit, std::string& data) {
    z_stream stream{};
    if (inflateInit2(&stream, kRawWindowBits) != Z_OK) return Inflated::Damaged;
    inflateSetDictionary(&stream, bytesOf(dictionary), static_cast<uInt>(dictionary.size()));
    // One byte more than the limit: filling it tells a stream that is too large.
    data.assign(limit + 1, '\0');
    stream.next_in = bytesOf(packed);
    stream.avail_in = static_cast<uInt>(packed.size());
    stream.next_out = reinterpret_cast<Bytef*>(data.data());
    stream.avail_out = static_cast<uInt>(data.size());
    const int status = inflate(&stream, Z_FINISH);
    const std::size_t made = stream.total_out;
    const bool allRead = stream.avail_in == 0;
    inflateEnd(&stream);
    data.resize(made > limit ? limit : made);
    if (made > limit) return Inflated::TooLarge;
    if (status == Z_STREAM_END) return allRead ? Inflated::Whole : Inflated::Damaged;
    if (status == Z_BUF_ERROR && allRead) return Inflated::Cut;
    return Inflated::Damaged;
}
