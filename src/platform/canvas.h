#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include <QImage>

#include "platform/font.h"
#include "platform/graphics.h"
#include "platform/types.h"

class QPainter;

namespace kx {

struct TShapeRow;
struct TShapeBox;

// Draws into a 32-bit surface (a QImage of Format_RGB32) through an origin and a
// clip rectangle. Shapes follow the Win32 GDI conventions: the box runs from
// (X1, Y1) inclusive to (X2, Y2) exclusive, the one-pixel pen lies inside the
// box, the brush fills the inside, and a clear pen leaves only the fill. They
// are rasterised here with integer arithmetic, so results are exact and the same
// everywhere. Every primitive clips first, then draws.
//
// A canvas may draw at a device pixel ratio: its surface then holds device
// pixels while every coordinate given to it stays logical. A logical coordinate
// v lies at device pixel DevicePixels(v, ratio); shapes are rasterised at the
// scaled box with a pen as wide as one scaled pixel, so the result stays exact
// and sharp at any ratio.
class TCanvas {
public:
    TCanvas() = default;
    explicit TCanvas(QImage* surface) {
        Attach(surface, {0, 0}, {0, 0, surface->width(), surface->height()});
    }

    // origin: where canvas (0, 0) lies on the surface; clip: in surface
    // coordinates, cut to the surface. Both are in device pixels.
    void Attach(QImage* surface, TPoint origin, TRect clip, double ratio = 1.0);
    void Detach();
    bool HasSurface() const { return m_surface != nullptr; }
    QImage* Surface() const { return m_surface; }
    TPoint Origin() const { return m_origin; }
    // The clip rectangle in canvas coordinates (logical; at a ratio other than
    // 1 the logical pixels that the device clip touches).
    TRect ClipRect() const;
    // Device pixels per logical pixel.
    double Ratio() const { return m_ratio; }
    // The device offset of a logical coordinate from the canvas origin.
    std::int64_t Device(std::int64_t v) const;

    TPen& Pen() { return m_pen; }
    TBrush& Brush() { return m_brush; }
    TFont& Font() { return m_font; }

    void Rectangle(int x1, int y1, int x2, int y2);
    void RoundRect(int x1, int y1, int x2, int y2, int ellipseWidth, int ellipseHeight);
    void Ellipse(int x1, int y1, int x2, int y2);
    // Fills with the brush, no outline; right and bottom exclusive.
    void FillRect(const TRect& r);
    // A one-pixel dashed outline with no fill (used by design-time drawing).
    void DashedFrame(const TRect& r);

    // Outside the clip rectangle Pixel reads 0 (black) and SetPixel does
    // nothing. Colours are RGB values (system colours are looked up).
    TColor Pixel(int x, int y) const;
    void SetPixel(int x, int y, TColor color);

    // BitBlt with a plain copy: w x h pixels from src (sx, sy) to (dx, dy).
    // Coordinates are logical; the device pixels they cover are copied as
    // they are, so both canvases should share one ratio.
    void CopyFrom(int dx, int dy, int w, int h, const TCanvas& src, int sx, int sy);
    // Copies a whole image of device pixels at (x, y), unscaled.
    void DrawImage(int x, int y, const QImage& image);
    void Draw(int x, int y, const TGraphic* graphic);
    // Scales the graphic into dest; an empty graphic draws nothing. At the
    // graphic's own size this is a plain copy; otherwise each pixel takes the
    // nearest source pixel (centre to centre), which is exact and the same
    // everywhere. A transparent bitmap leaves its bottom-left colour undrawn.
    void StretchDraw(const TRect& dest, const TGraphic* graphic);

    // Text through Qt, in Font, on the same surface; brush-less (transparent
    // background).
    void TextOut(int x, int y, const std::string& text);
    // Draws text inside r with the given alignment; wordWrap breaks lines.
    void TextRect(const TRect& r, const std::string& text, TAlignment alignment, bool wordWrap,
                  bool verticalCentre = false);
    int TextWidth(const std::string& text) const;
    int TextHeight(const std::string& text) const;

private:
    // The helpers below take device pixels relative to the origin.
    // Canvas coordinates, x2 exclusive; 64 bits because shape edges may lie beyond the int range.
    void FillSpan(std::int64_t y, std::int64_t x1, std::int64_t x2, TColor color);
    void FillBox(std::int64_t left, std::int64_t top, std::int64_t width, std::int64_t height, TColor color);
    // The rows from top to top + height that meet the clip rectangle, as [first, end).
    std::pair<std::int64_t, std::int64_t> VisibleRows(std::int64_t top, std::int64_t height) const;
    void DrawRows(std::int64_t left, std::int64_t top, std::int64_t width,
                  const std::vector<TShapeRow>& rows);
    // Handles the boxes an ellipse or rounded rectangle draws without tracing a
    // curve (empty, too thin, or beyond the tracing limit); true when done.
    bool DrawThinCurve(const TShapeBox& box);
    // The box of a shape in device pixels.
    TShapeBox DeviceBox(int x1, int y1, int x2, int y2) const;
    // Width of the pen in device pixels: one scaled logical pixel.
    int PenWidth() const;
    // Draws a curve with a pen wider than one pixel; the pen is centred on the outline.
    void DrawWideCurve(const TShapeBox& box, bool ellipse, int ellipseWidth, int ellipseHeight);
    void CopyDevice(std::int64_t dx, std::int64_t dy, std::int64_t w, std::int64_t h, const TCanvas& src,
                    std::int64_t sx, std::int64_t sy);
    bool BeginText(QPainter& painter, const TRect& clip) const;

    QImage* m_surface = nullptr;
    TPoint m_origin;
    TRect m_clip;  // surface coordinates
    double m_ratio = 1.0;
    TPen m_pen;
    TBrush m_brush;
    TFont m_font;
};

// The device pixel at which logical coordinate v lies at the given ratio: v
// scaled and rounded, halves upward, so that neighbouring shapes still meet.
std::int64_t DevicePixels(std::int64_t v, double ratio);

}  // namespace kx
