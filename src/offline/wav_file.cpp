#include "offline/wav_file.h"

#include "platform/file_access.h"

#include <array>
#include <cerrno>
#include <vector>

namespace {

constexpr int kChannels = 2, kBytesPerSample = 2;
constexpr uint32_t kHeaderBytes = WavFile::kHeaderBytes;

void putLe(uint8_t* at, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) at[i] = static_cast<uint8_t>(value >> (8 * i));
}

std::array<uint8_t, kHeaderBytes> header(int rate, uint64_t dataBytes) {
    // Past 4 GiB the sizes cannot be told; players then read to the end.
    const uint32_t data = dataBytes > 0xFFFFFFFFull - kHeaderBytes ? 0xFFFFFFFFu - kHeaderBytes
                                                                   : static_cast<uint32_t>(dataBytes);
    std::array<uint8_t, kHeaderBytes> h{};
    const auto text = [&](int at, const char* word) {
        for (int i = 0; i < 4; ++i) h[at + i] = static_cast<uint8_t>(word[i]);
    };
    text(0, "RIFF");
    putLe(&h[4], data + kHeaderBytes - 8, 4);
    text(8, "WAVE");
    text(12, "fmt ");
    putLe(&h[16], 16, 4);  // size of the format chunk
    putLe(&h[20], 1, 2);   // PCM
    putLe(&h[22], kChannels, 2);
    putLe(&h[24], static_cast<uint32_t>(rate), 4);
    putLe(&h[28], static_cast<uint32_t>(rate * kChannels * kBytesPerSample), 4);
    putLe(&h[32], kChannels * kBytesPerSample, 2);
    putLe(&h[34], 8 * kBytesPerSample, 2);
    text(36, "data");
    putLe(&h[40], data, 4);
    return h;
}

}  // namespace

WavFile::~WavFile() { close(); }

bool WavFile::open(const std::string& path, int rate) {
    close();
    errno = 0;
    file_ = std::fopen(path.c_str(), "wb");
    if (!file_) {
        error_ = errno;
        return false;
    }
    // Unbuffered: a failed write leaves nothing behind to be written later.
    std::setvbuf(file_, nullptr, _IONBF, 0);
    rate_ = rate;
    bytes_ = 0;
    const auto h = header(rate_, 0);
    errno = 0;
    ok_ = std::fwrite(h.data(), 1, h.size(), file_) == h.size();
    error_ = ok_ ? 0 : errno;
    return ok_;
}

bool WavFile::write(std::span<const int16_t> stereo) {
    if (!file_) return false;
    std::vector<uint8_t> bytes(stereo.size() * kBytesPerSample);
    for (std::size_t i = 0; i < stereo.size(); ++i) putLe(&bytes[2 * i], static_cast<uint16_t>(stereo[i]), 2);
    if (!ok_) return false;
    errno = 0;
    ok_ = std::fwrite(bytes.data(), 1, bytes.size(), file_) == bytes.size();
    if (!ok_ && error_ == 0) error_ = errno;
    if (ok_) {
        bytes_ += bytes.size();
    } else {
        // Part of them may have landed: the header can only tell whole writes.
        std::clearerr(file_);
        truncateOpenFile(file_, kHeaderBytes + bytes_);
    }
    return ok_;
}

bool WavFile::cutTo(uint64_t frames) {
    const uint64_t bytes = frames * kChannels * kBytesPerSample;
    if (!file_ || bytes > bytes_) return false;
    if (bytes == bytes_) return true;
    if (!truncateOpenFile(file_, kHeaderBytes + bytes)) return false;
    bytes_ = bytes;
    return true;
}

bool WavFile::close() {
    if (!file_) return ok_;
    const auto h = header(rate_, bytes_);
    // After a failed write the header is still brought up to date.
    const bool written = ok_;
    ok_ = std::fseek(file_, 0, SEEK_SET) == 0 && std::fwrite(h.data(), 1, h.size(), file_) == h.size();
    ok_ = std::fclose(file_) == 0 && ok_ && written;
    file_ = nullptr;
    return ok_;
}
