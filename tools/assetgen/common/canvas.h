#pragma once
// A floating-point picture for composing generated art, and its JPEG form.

#include <cstdint>
#include <vector>

namespace assetgen {

struct Colour {
    double r = 0, g = 0, b = 0;  // 0..255
};

Colour mix(const Colour& a, const Colour& b, double t);
// Every channel times k (unclamped: the canvas clamps what it stores).
inline Colour scaled(const Colour& c, double k) { return {c.r * k, c.g * k, c.b * k}; }

// A picture of 1 (grey) or 3 (RGB) channels, values 0..255, rows top to bottom.
class Canvas {
public:
    Canvas(int width, int height, int channels);

    int width() const { return width_; }
    int height() const { return height_; }
    int channels() const { return channels_; }

    Colour get(int x, int y) const;           // grey pictures give r = g = b
    double grey(int x, int y) const;          // first channel
    void set(int x, int y, const Colour& c);  // ignored outside the picture
    void setGrey(int x, int y, double v);
    // Mixes c over the pixel with weight alpha (0..1).
    void blend(int x, int y, const Colour& c, double alpha);
    void fill(const Colour& c);

    // Anti-aliased filled disc (coverage from the pixel-centre distance).
    void disc(double cx, double cy, double radius, const Colour& c, double alpha = 1.0);
    // Soft glow: alpha falls off as a Gaussian of the distance.
    void glow(double cx, double cy, double radius, const Colour& c, double alpha = 1.0);

    // Box blur of the given radius, repeated passes approach a Gaussian.
    void blur(int radius, int passes = 3);

    // Bytes for encodeJpeg: values rounded and clamped to 0..255.
    std::vector<uint8_t> bytes() const;
    std::vector<uint8_t> toJpeg(int quality = 92) const;

private:
    int width_, height_, channels_;
    std::vector<double> data_;
};

// A picture composed in landscape (as watched) turned into the portrait
// picture the show stores: landscape pixel (column c, row r) of a W x H
// picture becomes portrait pixel (x = r, y = W - 1 - c) of an H x W picture.
// The show's back buffer is watched turned a quarter turn clockwise, so
// lettering that reads left to right here reads left to right on screen.
Canvas turnToPortrait(const Canvas& landscape);

}  // namespace assetgen
