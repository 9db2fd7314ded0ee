#include "user32/canvas.h"

#include <algorithm>
#include <cmath>

#include "user32/ui_fonts.h"

namespace quorvane::user32 {

namespace {

unsigned Channel(Color color, int shift)
{
    return (color >> shift) & 0xFF;
}

// Distance from a point to a segment.
float SegmentDistance(float px, float py, float ax, float ay, float bx, float by)
{
    float dx = bx - ax, dy = by - ay;
    float t = std::clamp(((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy), 0.0f, 1.0f);
    float cx = ax + t * dx - px, cy = ay + t * dy - py;
    return std::sqrt(cx * cx + cy * cy);
}

}  // namespace

Canvas::Canvas(int width, int height, Color background, float scale) : scale_(scale)
{
    image_.width = std::uint32_t(std::max<LONG>(Pixels(width), 0));
    image_.height = std::uint32_t(std::max<LONG>(Pixels(height), 0));
    image_.pixels.assign(std::size_t(image_.width) * image_.height, background);
}

LONG Canvas::Pixels(LONG length) const
{
    return LONG(std::lround(float(length) * scale_));
}

RECT Canvas::Pixels(const RECT& rect) const
{
    return RECT{Pixels(rect.left), Pixels(rect.top), Pixels(rect.right), Pixels(rect.bottom)};
}

void Canvas::Mix(int x, int y, Color color, unsigned coverage)
{
    if (x < 0 || y < 0 || x >= Width() || y >= Height() || coverage == 0)
        return;
    Color& target = image_.pixels[std::size_t(y) * image_.width + std::size_t(x)];
    unsigned alpha = Channel(color, 24) * coverage / 255;
    Color mixed = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        unsigned value = (Channel(color, shift) * alpha + Channel(target, shift) * (255 - alpha) + 127) / 255;
        mixed |= Color(value) << shift;
    }
    unsigned targetAlpha = Channel(target, 24);
    unsigned outAlpha = alpha + targetAlpha * (255 - alpha) / 255;
    target = mixed | Color(outAlpha) << 24;
}

void Canvas::Fill(const RECT& rect, Color color)
{
    FillPixels(Pixels(rect), color);
}

void Canvas::FillPixels(const RECT& rect, Color color)
{
    for (LONG y = std::max<LONG>(rect.top, 0); y < std::min<LONG>(rect.bottom, Height()); ++y) {
        for (LONG x = std::max<LONG>(rect.left, 0); x < std::min<LONG>(rect.right, Width()); ++x)
            image_.pixels[std::size_t(y) * image_.width + std::size_t(x)] = color;
    }
}

void Canvas::Blend(const RECT& rect, Color color)
{
    RECT pixels = Pixels(rect);
    for (LONG y = pixels.top; y < pixels.bottom; ++y) {
        for (LONG x = pixels.left; x < pixels.right; ++x)
            Mix(x, y, color, 255);
    }
}

void Canvas::Frame(const RECT& rect, Color color)
{
    Fill(RECT{rect.left, rect.top, rect.right, rect.top + 1}, color);
    Fill(RECT{rect.left, rect.bottom - 1, rect.right, rect.bottom}, color);
    Fill(RECT{rect.left, rect.top, rect.left + 1, rect.bottom}, color);
    Fill(RECT{rect.right - 1, rect.top, rect.right, rect.bottom}, color);
}

void Canvas::DottedFrame(const RECT& rect, Color color)
{
    auto dot = [&](LONG x, LONG y) { Blend(RECT{x, y, x + 1, y + 1}, color); };
    for (LONG x = rect.left; x < rect.right; x += 2) {
        dot(x, rect.top);
        dot(x, rect.bottom - 1);
    }
    for (LONG y = rect.top; y < rect.bottom; y += 2) {
        dot(rect.left, y);
        dot(rect.right - 1, y);
    }
}

void Canvas::Text(text::Font& programFont, const text::TextLine& line, int programX, int programBaseline, Color color)
{
    text::Font& font = ScaledFont(programFont, scale_);
    int x = Pixels(programX), baseline = Pixels(programBaseline);
    std::vector<int> pens;
    for (const text::PlacedGlyph& placed : text::PlaceLine(font, line.characters, x, baseline, &pens)) {
        const text::Glyph& glyph = *placed.glyph;
        for (int row = 0; row < glyph.height; ++row) {
            for (int column = 0; column < glyph.width; ++column)
                Mix(placed.x + column, placed.y + row, color,
                    glyph.coverage[std::size_t(row) * std::size_t(glyph.width) + std::size_t(column)]);
        }
    }
    if (line.underlined >= 0 && std::size_t(line.underlined) < line.characters.size()) {
        int underline = baseline + std::max(1, font.Descent() / 2);
        FillPixels(RECT{pens[std::size_t(line.underlined)], underline, pens[std::size_t(line.underlined) + 1],
                        underline + std::max<LONG>(1, Pixels(1))},
                   color);
    }
}

void Canvas::CheckMark(const RECT& programBox, Color color)
{
    RECT box = Pixels(programBox);
    float size = float(std::min(box.right - box.left, box.bottom - box.top));
    float left = float(box.left), top = float(box.top);
    // Down from the left middle to the foot, then up to the top right.
    float ax = left + size * 0.12f, ay = top + size * 0.52f;
    float bx = left + size * 0.40f, by = top + size * 0.80f;
    float cx = left + size * 0.90f, cy = top + size * 0.20f;
    float halfWidth = std::max(0.75f, size * 0.08f);
    for (LONG y = box.top; y < box.bottom; ++y) {
        for (LONG x = box.left; x < box.right; ++x) {
            float px = float(x) + 0.5f, py = float(y) + 0.5f;
            float distance = std::min(SegmentDistance(px, py, ax, ay, bx, by), SegmentDistance(px, py, bx, by, cx, cy));
            float coverage = std::clamp(halfWidth + 0.5f - distance, 0.0f, 1.0f);
            Mix(x, y, color, unsigned(coverage * 255.0f + 0.5f));
        }
    }
}

void Canvas::Picture(const display::Image& picture, int programX, int programY)
{
    int x = Pixels(programX), y = Pixels(programY);
    for (std::uint32_t row = 0; row < picture.height; ++row) {
        for (std::uint32_t column = 0; column < picture.width; ++column) {
            Color pixel = picture.pixels[std::size_t(row) * picture.width + column];
            Mix(x + int(column), y + int(row), pixel | 0xFF000000u, Channel(pixel, 24));
        }
    }
}

RECT Inset(const RECT& rect, LONG by)
{
    return RECT{rect.left + by, rect.top + by, rect.right - by, rect.bottom - by};
}

bool Contains(const RECT& rect, POINT point)
{
    return point.x >= rect.left && point.x < rect.right && point.y >= rect.top && point.y < rect.bottom;
}

}  // namespace quorvane::user32
