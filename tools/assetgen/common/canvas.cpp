#include "common/canvas.h"

#include <algorithm>
#include <cmath>

#include "common/jpeg.h"

namespace assetgen {

Colour mix(const Colour& a, const Colour& b, double t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Canvas::Canvas(int width, int height, int channels)
    : width_(width), height_(height), channels_(channels),
      data_(static_cast<size_t>(width) * height * channels, 0.0) {}

Colour Canvas::get(int x, int y) const {
    const double* p = &data_[(static_cast<size_t>(y) * width_ + x) * channels_];
    return channels_ == 1 ? Colour{p[0], p[0], p[0]} : Colour{p[0], p[1], p[2]};
}

double Canvas::grey(int x, int y) const { return data_[(static_cast<size_t>(y) * width_ + x) * channels_]; }

void Canvas::set(int x, int y, const Colour& c) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    double* p = &data_[(static_cast<size_t>(y) * width_ + x) * channels_];
    if (channels_ == 1) {
        p[0] = (c.r + c.g + c.b) / 3.0;
    } else {
        p[0] = c.r;
        p[1] = c.g;
        p[2] = c.b;
    }
}

void Canvas::setGrey(int x, int y, double v) { set(x, y, {v, v, v}); }

void Canvas::blend(int x, int y, const Colour& c, double alpha) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_ || alpha <= 0) return;
    set(x, y, mix(get(x, y), c, std::min(alpha, 1.0)));
}

void Canvas::fill(const Colour& c) {
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) set(x, y, c);
}

void Canvas::disc(double cx, double cy, double radius, const Colour& c, double alpha) {
    const int x0 = static_cast<int>(std::floor(cx - radius - 1)), x1 = static_cast<int>(std::ceil(cx + radius + 1));
    const int y0 = static_cast<int>(std::floor(cy - radius - 1)), y1 = static_cast<int>(std::ceil(cy + radius + 1));
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            const double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
            const double coverage = std::clamp(radius - d + 0.5, 0.0, 1.0);
            blend(x, y, c, coverage * alpha);
        }
    }
}

void Canvas::glow(double cx, double cy, double radius, const Colour& c, double alpha) {
    const int reach = static_cast<int>(std::ceil(radius * 3));
    for (int y = static_cast<int>(cy) - reach; y <= static_cast<int>(cy) + reach; ++y) {
        for (int x = static_cast<int>(cx) - reach; x <= static_cast<int>(cx) + reach; ++x) {
            const double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy) / radius;
            blend(x, y, c, alpha * std::exp(-d * d));
        }
    }
}

void Canvas::blur(int radius, int passes) {
    if (radius <= 0) return;
    std::vector<double> tmp(data_.size());
    for (int pass = 0; pass < passes; ++pass) {
        for (int horizontal = 1; horizontal >= 0; --horizontal) {
            for (int y = 0; y < height_; ++y) {
                for (int x = 0; x < width_; ++x) {
                    for (int ch = 0; ch < channels_; ++ch) {
                        double sum = 0;
                        int n = 0;
                        for (int k = -radius; k <= radius; ++k) {
                            const int sx = horizontal ? std::clamp(x + k, 0, width_ - 1) : x;
                            const int sy = horizontal ? y : std::clamp(y + k, 0, height_ - 1);
                            sum += data_[(static_cast<size_t>(sy) * width_ + sx) * channels_ + ch];
                            ++n;
                        }
                        tmp[(static_cast<size_t>(y) * width_ + x) * channels_ + ch] = sum / n;
                    }
                }
            }
            data_.swap(tmp);
        }
    }
}

std::vector<uint8_t> Canvas::bytes() const {
    std::vector<uint8_t> out(data_.size());
    for (size_t i = 0; i < data_.size(); ++i) {
        out[i] = static_cast<uint8_t>(std::clamp(std::lround(data_[i]), 0L, 255L));
    }
    return out;
}

std::vector<uint8_t> Canvas::toJpeg(int quality) const {
    return encodeJpeg(bytes(), width_, height_, channels_, quality);
}

Canvas turnToPortrait(const Canvas& landscape) {
    const int w = landscape.width(), h = landscape.height();
    Canvas portrait(h, w, landscape.channels());
    for (int r = 0; r < h; ++r)
        for (int c = 0; c < w; ++c) portrait.set(r, w - 1 - c, landscape.get(c, r));
    return portrait;
}

}  // namespace assetgen
