#pragma once
// "tolppaefu" (PoleEffect): the greetings on a swaying, twisting pole. Over a
// backdrop that slowly stretches and shrinks vertically, a pole runs the
// height of the screen as two textured faces whose widths and position change
// from row to row and over time. The greetings are drawn each frame from the
// font's two pictures into two strips (one line per screen row) and scroll
// along the pole with "phase".

#include <array>
#include <cstdint>

#include "anim/param_track.h"
#include "assets/image.h"
#include "engine/effect.h"

// The scroller's text rendered across the screen rows: line L is screen row
// L, byte k of a line is glyph row k. Lines a frame does not write keep what
// an earlier frame wrote.
struct TextStrips {
    static constexpr int kLines = 320, kBytes = 32;

    // One frame of the scroller at phase P: the text reads from the bottom
    // line upwards and moves down one line per unit of P. text is
    // zero-terminated; reaching its end starts it again from the first
    // character. font* are the glyph strip pictures (fontStride bytes a row).
    void fill(const char* text, int32_t phase, const uint8_t* fontBrightness, const uint8_t* fontCoverage,
              int32_t fontStride);

    std::array<uint8_t, kLines * kBytes> brightness{};
    std::array<uint8_t, kLines * kBytes> coverage{};
    int32_t index = 0;        // first character still visible
    int32_t passedWidth = 0;  // width of the characters scrolled past
};

class PoleEffect : public Effect {
public:
    static constexpr int kSkinWidth = 32, kSkinHeight = 256;
    static const char kGreetings[];

    TrackList tracks() override;
    bool load() override;
    bool acquire() override;
    void release() override;
    void draw(int32_t time, uint16_t* backBuffer) override;

    // The pole's rows over what the back buffer holds, at time and phase.
    void drawPole(uint16_t* backBuffer, int32_t time, int32_t phase) const;

    // One face of n pixels from out on: the 32 texels of a skin row spread
    // across it, the text strip line laid over them, all scaled by 4n / 256.
    // A face wider than 64 pixels comes out brighter than the skin, without
    // clamping; n <= 0 draws nothing.
    static void drawFace(uint16_t* out, int32_t n, const uint32_t* texels, const uint8_t* brightness,
                         const uint8_t* coverage);

protected:
    // The scroller: its strips and where the text stands.
    std::unique_ptr<TargetState> saveBuiltState() const override { return copyState(strips_); }
    void restoreBuiltState(const TargetState& state) override;

private:
    int32_t sine(int32_t index) const { return sine_[index & 1023]; }

    std::array<int32_t, 1024> sine_{};
    TextStrips strips_;

public:
    ParamTrack phase;

private:
    Image skin_, backdrop_;
};
