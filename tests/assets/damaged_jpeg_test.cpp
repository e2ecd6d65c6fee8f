// A damaged picture must make the loader return false with the Image empty;
// it must never end the process or read outside the bytes it was given.

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "assets/image.h"
#include "assets/jpeg_source.h"
#include "jpeg_maker.h"

namespace {

std::vector<uint8_t> picture() {
    return testjpeg::colour(48, 40, [](int x, int y) {
        return testjpeg::Rgb{uint8_t(x * 5), uint8_t(y * 6), uint8_t((x * y) & 255)};
    }, 90);
}

void expectEmptyFailure(Image& image, Image::Bytes bytes) {
    EXPECT_FALSE(image.loadJpeg(bytes));
    EXPECT_EQ(image.pixels, nullptr);
}

bool loadExact(Image& image, const std::vector<uint8_t>& bytes) { return image.loadJpeg16(bytes); }

TEST(DamagedJpeg, TruncatedPicturesFail) {
    const auto jpeg = picture();
    Image image;
    ASSERT_TRUE(image.loadJpeg(jpeg));
    for (size_t length : {size_t{0}, size_t{1}, size_t{2}, size_t{20}, testjpeg::scanDataStart(jpeg),
                          jpeg.size() / 2, jpeg.size() - 10, jpeg.size() - 2}) {
        SCOPED_TRACE(length);
        const std::vector<uint8_t> cut(jpeg.begin(), jpeg.begin() + length);
        EXPECT_FALSE(loadExact(image, cut));
        EXPECT_EQ(image.pixels, nullptr);
    }
}

TEST(DamagedJpeg, BrokenHeadersAndMarkersFail) {
    const auto jpeg = picture();
    Image image;
    auto damaged = [&](size_t at, std::initializer_list<uint8_t> bytes) {
        std::vector<uint8_t> copy = jpeg;
        size_t i = at;
        for (uint8_t b : bytes) copy[i++] = b;
        return copy;
    };
    expectEmptyFailure(image, damaged(0, {0x00, 0x00}));  // no start-of-image
    // An end-of-image marker in the middle of the scan.
    const size_t scan = testjpeg::scanDataStart(jpeg);
    ASSERT_GT(scan, 0u);
    expectEmptyFailure(image, damaged(scan + (jpeg.size() - scan) / 2, {0xFF, 0xD9}));

    // A frame header with 12-bit samples, which this decoder cannot produce.
    for (size_t i = 2; i + 4 < jpeg.size(); ++i) {
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) {
            expectEmptyFailure(image, damaged(i + 4, {12}));
            break;
        }
    }
    const std::vector<uint8_t> noise(500, 0xFF);
    expectEmptyFailure(image, noise);
    EXPECT_FALSE(image.loadTiled(Image::Bytes{}));

    JpegInfo info;
    EXPECT_FALSE(readJpegInfo(noise.data(), noise.size(), info));
    ASSERT_TRUE(readJpegInfo(jpeg.data(), jpeg.size(), info));
    EXPECT_EQ(info.width, 48);
    EXPECT_EQ(info.height, 40);
    EXPECT_EQ(info.components, 3);
}

// Random damage: the loader may find nothing wrong with a changed byte in the
// picture data, but it must come back either with a whole picture or empty.
TEST(DamagedJpeg, RandomMutationsNeverEscape) {
    const auto jpeg = picture();
    uint64_t state = 0x9E3779B97F4A7C15ull;
    auto next = [&] {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return state;
    };
    Image image;
    int failures = 0;
    for (int round = 0; round < 400; ++round) {
        std::vector<uint8_t> copy = jpeg;
        const int changes = 1 + static_cast<int>(next() % 4);
        for (int c = 0; c < changes; ++c) copy[next() % copy.size()] = static_cast<uint8_t>(next());
        if (next() % 4 == 0) copy.resize(next() % copy.size());
        if (loadExact(image, copy)) {
            ASSERT_NE(image.pixels, nullptr);
            ASSERT_GT(image.width, 0);
            ASSERT_GT(image.height, 0);
        } else {
            ASSERT_EQ(image.pixels, nullptr);
            ++failures;
        }
    }
    EXPECT_GT(failures, 0);
}

// The source hands out the given bytes once and then only an end-of-image
// marker, however much the decoder asks for or skips.
TEST(DamagedJpeg, SourceNeverGoesPastTheEnd) {
    const std::vector<uint8_t> bytes = {0xFF, 0xD8, 1, 2, 3, 4, 5, 6};
    jpeg_decompress_struct cinfo{};
    JpegErrorTrap trap;
    installErrorTrap(cinfo, trap);
    jpeg_create_decompress(&cinfo);
    attachMemorySource(cinfo, bytes.data(), bytes.size());
    jpeg_source_mgr* src = cinfo.src;
    auto inGivenBytes = [&] {
        return src->next_input_byte >= bytes.data() &&
               src->next_input_byte + src->bytes_in_buffer <= bytes.data() + bytes.size();
    };
    auto atEndMarker = [&] {
        return src->bytes_in_buffer <= 2 && src->bytes_in_buffer > 0 &&
               src->next_input_byte[src->bytes_in_buffer - 1] == JPEG_EOI;
    };

    ASSERT_TRUE(src->fill_input_buffer(&cinfo));
    EXPECT_EQ(src->next_input_byte, bytes.data());
    EXPECT_EQ(src->bytes_in_buffer, bytes.size());
    src->skip_input_data(&cinfo, 3);
    EXPECT_TRUE(inGivenBytes());
    EXPECT_EQ(src->bytes_in_buffer, bytes.size() - 3);
    src->skip_input_data(&cinfo, -5);
    EXPECT_EQ(src->bytes_in_buffer, bytes.size() - 3);
    EXPECT_EQ(trap.mgr.num_warnings, 0);

    src->skip_input_data(&cinfo, 1000);  // far past the end
    EXPECT_TRUE(src->bytes_in_buffer == 0 || atEndMarker());
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(src->fill_input_buffer(&cinfo));
        EXPECT_TRUE(atEndMarker());
        EXPECT_EQ(src->next_input_byte[0], 0xFF);
    }
    EXPECT_GT(trap.mgr.num_warnings, 0);
    jpeg_destroy_decompress(&cinfo);
}

}  // namespace
