#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "assets/font.h"
#include "support/png.h"

namespace {

constexpr int kWidth = 240, kHeight = 320;
constexpr uint16_t kBackground = 0x4A69;  // a dull blue-grey

class FontTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(loadFont()); }
    static void TearDownTestSuite() { releaseFont(); }

    std::vector<uint16_t> canvas(uint16_t colour = kBackground) {
        return std::vector<uint16_t>(kWidth * kHeight, colour);
    }
    std::vector<uint16_t> drawn(int x, int y, const char* text, int maxChars = -1) {
        auto buffer = canvas();
        drawText(buffer.data(), x, y, text, maxChars);
        return buffer;
    }
    // Back buffer pixel at landscape position p along the text, column h across.
    static uint16_t at(const std::vector<uint16_t>& buffer, int p, int h) {
        return buffer[(kHeight - 1 - p) * kWidth + h];
    }
};

TEST_F(FontTest, GlyphTable) {
    EXPECT_EQ(glyphWidth(' '), 20);
    EXPECT_EQ(glyphOffset(' '), 0);
    EXPECT_EQ(glyphOffset('A'), 32);
    EXPECT_EQ(glyphOffset('h'), 256);
    EXPECT_EQ(glyphOffset('I'), 288);
    EXPECT_EQ(glyphWidth('i'), 16);
    EXPECT_EQ(glyphOffset('J'), 304);
    EXPECT_EQ(glyphOffset('z'), 816);
    EXPECT_EQ(glyphOffset('0'), 848);
    EXPECT_EQ(glyphOffset('9'), 1136);
    const struct {
        unsigned char ch;
        int offset, width;
    } marks[] = {{'/', 1168, 32}, {',', 1200, 16}, {'.', 1216, 16}, {':', 1232, 16}, {'"', 1248, 16},
                 {'-', 0, 32}, {'!', 0, 32}, {0xC4, 0, 32}};
    for (const auto& m : marks) {
        EXPECT_EQ(glyphOffset(m.ch), m.offset) << m.ch;
        EXPECT_EQ(glyphWidth(m.ch), m.width) << m.ch;
    }
}

TEST_F(FontTest, StripStartsBlank) {
    // Space and unknown characters read these columns: they must draw nothing.
    for (const Image* image : {&fontBrightness(), &fontCoverage()}) {
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) ASSERT_EQ(image->pixels[y * image->width + x], 0) << x << ", " << y;
    }
}

TEST_F(FontTest, BlendOfOnePixel) {
    EXPECT_EQ(blendTextPixel(kBackground, 200, 0), kBackground);
    EXPECT_EQ(blendTextPixel(0x0000, 255, 255), 0xFFFF);  // each channel (255 * 255) >> 8 = 254
    EXPECT_EQ(blendTextPixel(0xFFFF, 0, 255), 0x0000);    // 248 * 1 >> 8 = 0
    // Half coverage of black over white: (0 + 248 * 128) >> 8 = 124 red.
    EXPECT_EQ(blendTextPixel(0xFFFF, 0, 128) >> 11, 124 >> 3);
}

TEST_F(FontTest, TwoLettersSitWhereTheyShould) {
    // "AB" at x = 160: W = 64, start 145; A covers 145..160, B 159..174,
    // as a lone A centred on 153 and a lone B centred on 167 would.
    const auto text = drawn(160, 120, "AB");
    auto apart = canvas();
    drawText(apart.data(), 153, 120, "A", -1);
    drawText(apart.data(), 167, 120, "B", -1);
    EXPECT_EQ(text, apart);
    // Nothing changes outside the two glyphs' rectangle; inside, the first and
    // last changed positions are the first and last drawn glyph columns
    // (every second font column) that have any coverage.
    int bright = 0, first = kHeight, last = -1;
    for (int p = 0; p < kHeight; ++p) {
        for (int h = 0; h < kWidth; ++h) {
            const uint16_t pixel = at(text, p, h);
            if (pixel == kBackground) continue;
            ASSERT_TRUE(p >= 145 && p <= 174 && h >= 112 && h < 128) << p << ", " << h;
            first = std::min(first, p);
            last = std::max(last, p);
            bright += pixel == 0xFFFF;
        }
    }
    EXPECT_GT(bright, 40);  // the letters show
    auto inkColumns = [](int offset) {
        std::vector<int> columns;
        for (int i = 0; i < 16; ++i) {
            for (int t = 0; t < 16; ++t) {
                if (fontCoverage().pixels[2 * t * 1264 + offset + 2 * i] != 0) {
                    columns.push_back(i);
                    break;
                }
            }
        }
        return columns;
    };
    EXPECT_EQ(first, 145 + inkColumns(glyphOffset('A')).front());
    EXPECT_EQ(last, 159 + inkColumns(glyphOffset('B')).back());
}

TEST_F(FontTest, CaseDoesNotMatter) {
    EXPECT_EQ(drawn(160, 120, "Zemra 2002"), drawn(160, 120, "ZEMRA 2002"));
    EXPECT_EQ(drawn(100, 50, ""), canvas());
}

TEST_F(FontTest, EdgesClipPixelByPixel) {
    // At y = 4 the rows t = 0..3 fall off the left edge; the rest match an
    // unclipped drawing at y = 20 (rows shifted by 16).
    const auto clipped = drawn(160, 4, "QUIZ");
    const auto whole = drawn(160, 20, "QUIZ");
    for (int p = 0; p < kHeight; ++p) {
        for (int h = 0; h < 12; ++h) ASSERT_EQ(at(clipped, p, h), at(whole, p, h + 16)) << p << ", " << h;
        for (int h = 12; h < kWidth; ++h) ASSERT_EQ(at(clipped, p, h), kBackground);
    }
    // Text running off every edge draws what fits and touches nothing else.
    auto buffer = canvas();
    drawText(buffer.data(), 2, 236, "THE QUICK BROWN FOX", -1);
    drawText(buffer.data(), 318, -6, "JUMPS OVER THE LAZY DOG", -1);
    drawText(buffer.data(), -500, 120, "OUT OF SIGHT", -1);
}

TEST_F(FontTest, UnknownCharacterAdvancesAndDrawsNothing) {
    // "A-A": W = 96, start 138; A at 138, "-" at 152 (14 further), A at 166.
    // Each A alone lands there when centred on 146 and 174.
    auto pair = canvas();
    drawText(pair.data(), 146, 120, "A", -1);
    drawText(pair.data(), 174, 120, "A", -1);
    EXPECT_EQ(drawn(160, 120, "A-A"), pair);
    EXPECT_EQ(drawn(160, 120, "-!?"), canvas());
}

TEST_F(FontTest, MaxCharsLimitsTheLetters) {
    const auto all = drawn(160, 120, "TYPE");
    EXPECT_EQ(drawn(160, 120, "TYPE", -1), all);
    EXPECT_EQ(drawn(160, 120, "TYPE", 4), all);
    EXPECT_EQ(drawn(160, 120, "TYPE", 99), all);
    EXPECT_EQ(drawn(160, 120, "TYPE", 0), canvas());
    EXPECT_EQ(drawn(160, 120, "TYPE", -2), canvas());
    // The first letters stay where the whole line puts them.
    EXPECT_EQ(drawn(160, 120, "TYPE", 2), drawn(160, 120, "TY--"));  // same widths, nothing drawn
}

// A picture to look at: lines of text over a coloured background.
TEST_F(FontTest, TextPicture) {
    std::vector<uint16_t> buffer(kWidth * kHeight);
    for (int row = 0; row < kHeight; ++row) {
        for (int col = 0; col < kWidth; ++col) {
            // Landscape x = 319 - row, y = col: a warm-to-cool diagonal gradient with stripes.
            const int x = kHeight - 1 - row, y = col;
            const int r = 40 + x * 180 / 320, g = 60 + ((x + y) % 64 < 32 ? 40 : 0), b = 200 - y * 150 / 240;
            buffer[row * kWidth + col] = static_cast<uint16_t>((r & 0xF8) << 8 | (g & 0xFC) << 3 | (b >> 3));
        }
    }
    const char* lines[] = {"ZEMRA", "THE QUICK BROWN FOX", "JUMPS OVER THE LAZY DOG", "0123456789 /,.:\"",
                           "Morvantide, Inc", "Gathmoor 2002", "WIDTH: 1264 X 32."};
    int y = 24;
    for (const char* line : lines) {
        drawText(buffer.data(), 160, y, line, -1);
        y += 30;
    }
    EXPECT_TRUE(testpng::writeLandscape(testpng::outputDir() + "/font_text.png", buffer.data()));
}

}  // namespace
