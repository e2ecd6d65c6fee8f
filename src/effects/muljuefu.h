#pragma once
// "muljuefu" (TubeEffect): a thick bumpy tube lying across the screen, snaking
// up and down, twisting about its axis while its skin slides along it, over a
// backdrop that breathes vertically. The tube is drawn column by column: each
// angle around the cross-section gives a screen offset (radius scaled by the
// height map in the skin's alpha), and the angles are walked outwards from the
// centre line, each drawing only beyond the extent reached so far. Driven by
// time alone: every command is ignored.

#include <array>
#include <cstdint>

#include "assets/image.h"
#include "engine/effect.h"

class TubeEffect : public Effect {
public:
    static constexpr int kCentreRow = 160;

    bool load() override;
    bool acquire() override;
    void release() override;
    void draw(int32_t time, uint16_t* backBuffer) override;

    // Screen rows top..bottom of one column (empty when top > bottom).
    struct Span {
        int32_t top, bottom;
    };

    // The backdrop stretched to show g(time) of its rows (16.16), centred.
    void drawBackground(uint16_t* backBuffer, int32_t time) const;
    // The same, leaving each column's covered rows as they are.
    void drawBackgroundAround(uint16_t* backBuffer, int32_t time, const Span* covered) const;
    static int32_t shownRows(int32_t time);

    // The tube over whatever the buffer holds. skin: 256 x 256 32-bit pixels,
    // colour in the low 24 bits and the height (0..255) in the top byte.
    // covered receives the rows each of the 240 columns drew.
    static void drawTube(uint16_t* backBuffer, const uint32_t* skin, const std::array<int32_t, 256>& sine,
                         int32_t time, Span* covered);

    // One column of the tube (centre offset cy, twist tw, skin row skinRow);
    // returns the rows it drew, always one unbroken span.
    static Span drawColumn(uint16_t* column, const uint32_t* skinRow, const std::array<int32_t, 256>& sine,
                           int32_t cy, int32_t tw);

    const std::array<int32_t, 256>& sineTable() const { return sine_; }
    const Image& surface() const { return surface_; }

private:
    std::array<int32_t, 256> sine_{};
    Image surface_, background_;
};
