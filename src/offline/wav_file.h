#pragma once
// A 16-bit stereo PCM WAV file written as the sound arrives. The header's
// sizes are filled in when the file is closed.

#include <cstdint>
#include <cstdio>
#include <span>
#include <string>

class WavFile {
public:
    static constexpr uint32_t kHeaderBytes = 44;  // before the first sample
    WavFile() = default;
    ~WavFile();
    WavFile(const WavFile&) = delete;
    WavFile& operator=(const WavFile&) = delete;

    bool open(const std::string& path, int rate);
    // Interleaved left/right samples, handed to the system at once. When
    // they cannot all be written the file is cut back to the samples before
    // them, so that it stays a valid WAV file of whole samples.
    bool write(std::span<const int16_t> stereo);
    // Cuts the file back to its first `frames` stereo samples; false when it cannot.
    bool cutTo(uint64_t frames);
    // Completes the header and closes the file. False when writing failed.
    bool close();
    uint64_t framesWritten() const { return bytes_ / 4; }
    // The system's error number of the first write that failed (0: none).
    int writeError() const { return error_; }

private:
    std::FILE* file_ = nullptr;
    int rate_ = 0;
    uint64_t bytes_ = 0;
    bool ok_ = true;
    int error_ = 0;
};
