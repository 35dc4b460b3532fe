#include "tools/draw-icon/art.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>

namespace setip::icon {
namespace {

struct Point {
    double x, y;
};

// A shape in the unit square (y down) and its colour; later shapes are painted over earlier ones.
struct Layer {
    std::function<bool(Point)> contains;
    Rgba colour;
};

std::function<bool(Point)> roundedRect(double left, double top, double right, double bottom, double radius) {
    return [=](Point p) {
        const double dx = std::max({left + radius - p.x, 0.0, p.x - (right - radius)});
        const double dy = std::max({top + radius - p.y, 0.0, p.y - (bottom - radius)});
        return p.x >= left && p.x <= right && p.y >= top && p.y <= bottom && dx * dx + dy * dy <= radius * radius;
    };
}

std::function<bool(Point)> circle(double cx, double cy, double r) {
    return [=](Point p) { return (p.x - cx) * (p.x - cx) + (p.y - cy) * (p.y - cy) <= r * r; };
}

// A torn receipt: its top edge is a zigzag.
std::function<bool(Point)> receipt(double left, double top, double right, double bottom, double tooth) {
    return [=](Point p) {
        if (p.x < left || p.x > right || p.y > bottom) return false;
        const double phase = std::fmod((p.x - left) / tooth, 1.0);
        return p.y >= top + tooth * 0.5 * std::abs(phase * 2.0 - 1.0);
    };
}

std::vector<Layer> layers(int size) {
    // Outlines stay about one pixel wide at every size, so small images keep their edges.
    const double line = std::max(1.0 / size, 0.035);
    const Rgba outline{24, 28, 34, 255};
    const Rgba paper{250, 250, 246, 255};
    const Rgba ink{110, 118, 128, 255};
    const Rgba body{51, 102, 153, 255};  // colours of the 256-colour table, so those images match
    const Rgba bodyTop{102, 153, 204, 255};
    const Rgba slot{20, 24, 30, 255};
    const Rgba light{51, 204, 102, 255};

    std::vector<Layer> out;
    out.push_back({receipt(0.24 - line, 0.04 - line, 0.76 + line, 0.5, 0.13), outline});
    out.push_back({receipt(0.24, 0.04, 0.76, 0.5, 0.13), paper});
    for (const double y : {0.18, 0.27, 0.36}) out.push_back({roundedRect(0.32, y, 0.68, y + line * 1.2, 0.0), ink});
    out.push_back({roundedRect(0.04, 0.40, 0.96, 0.90, 0.09), outline});
    out.push_back({roundedRect(0.04 + line, 0.40 + line, 0.96 - line, 0.90 - line, 0.09 - line), body});
    out.push_back({roundedRect(0.04 + line, 0.40 + line, 0.96 - line, 0.56, 0.09 - line), bodyTop});
    out.push_back({roundedRect(0.20, 0.44, 0.80, 0.44 + std::max(line * 1.4, 0.06), 0.0), slot});
    out.push_back({roundedRect(0.16, 0.68, 0.58, 0.68 + std::max(line * 1.4, 0.07), 0.0), slot});
    out.push_back({circle(0.78, 0.72, std::max(0.07, 1.1 / size)), light});
    return out;
}

}  // namespace

Image drawReceiptPrinter(int size) {
    constexpr int samplesPerSide = 8;
    const auto art = layers(size);
    Image image{size, std::vector<Rgba>(static_cast<std::size_t>(size * size))};
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            std::array<double, 4> sum{};  // premultiplied colour and coverage
            for (int sy = 0; sy < samplesPerSide; ++sy) {
                for (int sx = 0; sx < samplesPerSide; ++sx) {
                    const Point p{(x + (sx + 0.5) / samplesPerSide) / size, (y + (sy + 0.5) / samplesPerSide) / size};
                    const auto top = std::find_if(art.rbegin(), art.rend(), [p](const Layer& l) { return l.contains(p); });
                    if (top == art.rend()) continue;
                    sum[0] += top->colour.red;
                    sum[1] += top->colour.green;
                    sum[2] += top->colour.blue;
                    sum[3] += 1.0;
                }
            }
            if (sum[3] == 0.0) continue;
            const auto channel = [&](double value) { return static_cast<std::uint8_t>(std::lround(value / sum[3])); };
            image.pixels[static_cast<std::size_t>(y * size + x)] = {
                channel(sum[0]), channel(sum[1]), channel(sum[2]),
                static_cast<std::uint8_t>(std::lround(255.0 * sum[3] / (samplesPerSide * samplesPerSide)))};
        }
    }
    return image;
}

}  // namespace setip::icon
