#include "platform/canvas.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include <QFontMetrics>
#include <QPainter>

#include "platform/color_contrast.h"
#include "platform/shape_row.h"

namespace kx {

// A shape's box after normalising, in 64 bits so that its far edges cannot overflow.
struct TShapeBox {
    std::int64_t Left;
    std::int64_t Top;
    std::int64_t Width;
    std::int64_t Height;
};

namespace {

// Ellipses and rounded corners larger than this are not drawn; nothing on a screen comes near it, and
// the limit keeps the arithmetic exact and the row tables small.
constexpr std::int64_t kMaxCurveSide = std::int64_t{1} << 22;

QRgb ToQRgb(TColor color) {
    const TColor rgb = ColorToRGB(color);
    return qRgb(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}

TColor FromQRgb(QRgb value) {
    return RGB(qRed(value), qGreen(value), qBlue(value));
}

QRect ToQRect(const TRect& r) {
    return QRect(r.Left, r.Top, r.Width(), r.Height());
}

// Normalises a box, as the platform's drawing functions do before anything else.
TShapeBox NormalBox(int x1, int y1, int x2, int y2) {
    const std::int64_t left = std::min(x1, x2);
    const std::int64_t top = std::min(y1, y2);
    return {left, top, std::int64_t{std::max(x1, x2)} - left, std::int64_t{std::max(y1, y2)} - top};
}

}  // namespace

std::int64_t DevicePixels(std::int64_t v, double ratio) {
    if (ratio == 1.0) {
        return v;
    }
    return static_cast<std::int64_t>(std::floor(static_cast<double>(v) * ratio + 0.5));
}

void TCanvas::Attach(QImage* surface, TPoint origin, TRect clip, double ratio) {
    m_surface = surface;
    m_origin = origin;
    m_ratio = ratio > 0 ? ratio : 1.0;
    if (surface == nullptr) {
        m_clip = {};
        return;
    }
    if (surface->format() != QImage::Format_RGB32) {
        *surface = surface->convertToFormat(QImage::Format_RGB32);
    }
    m_clip = clip.Intersect({0, 0, surface->width(), surface->height()});
}

void TCanvas::Detach() {
    m_surface = nullptr;
    m_clip = {};
}

TRect TCanvas::ClipRect() const {
    const TRect device = m_clip.Offset(-m_origin.X, -m_origin.Y);
    if (m_ratio == 1.0 || device.IsEmpty()) {
        return device;
    }
    auto down = [&](int v) { return static_cast<int>(std::floor(v / m_ratio)); };
    auto up = [&](int v) { return static_cast<int>(std::ceil(v / m_ratio)); };
    return {down(device.Left), down(device.Top), up(device.Right), up(device.Bottom)};
}

std::int64_t TCanvas::Device(std::int64_t v) const {
    return DevicePixels(v, m_ratio);
}

int TCanvas::PenWidth() const {
    return static_cast<int>(std::max<std::int64_t>(1, Device(1)));
}

TShapeBox TCanvas::DeviceBox(int x1, int y1, int x2, int y2) const {
    const TShapeBox b = NormalBox(x1, y1, x2, y2);
    if (m_ratio == 1.0) {
        return b;
    }
    const std::int64_t left = Device(b.Left);
    const std::int64_t top = Device(b.Top);
    return {left, top, Device(b.Left + b.Width) - left, Device(b.Top + b.Height) - top};
}

void TCanvas::FillSpan(std::int64_t y, std::int64_t x1, std::int64_t x2, TColor color) {
    if (m_surface == nullptr) {
        return;
    }
    const std::int64_t sy = y + m_origin.Y;
    if (sy < m_clip.Top || sy >= m_clip.Bottom) {
        return;
    }
    const std::int64_t from = std::max<std::int64_t>(x1 + m_origin.X, m_clip.Left);
    const std::int64_t to = std::min<std::int64_t>(x2 + m_origin.X, m_clip.Right);
    if (from >= to) {
        return;
    }
    auto* line = reinterpret_cast<QRgb*>(m_surface->scanLine(static_cast<int>(sy)));
    std::fill(line + from, line + to, ToQRgb(color));
}

std::pair<std::int64_t, std::int64_t> TCanvas::VisibleRows(std::int64_t top, std::int64_t height) const {
    const std::int64_t from = std::max<std::int64_t>(top, std::int64_t{m_clip.Top} - m_origin.Y);
    const std::int64_t to = std::min<std::int64_t>(top + height, std::int64_t{m_clip.Bottom} - m_origin.Y);
    return {from, std::max(from, to)};
}

void TCanvas::FillBox(std::int64_t left, std::int64_t top, std::int64_t width, std::int64_t height,
                      TColor color) {
    if (width <= 0 || height <= 0) {
        return;
    }
    const auto [from, to] = VisibleRows(top, height);
    for (std::int64_t y = from; y < to; ++y) {
        FillSpan(y, left, left + width, color);
    }
}

void TCanvas::DrawRows(std::int64_t left, std::int64_t top, std::int64_t width,
                       const std::vector<TShapeRow>& rows) {
    const bool pen = m_pen.Style != psClear;
    const auto [from, to] = VisibleRows(top, static_cast<std::int64_t>(rows.size()));
    for (std::int64_t y = from; y < to; ++y) {
        const TShapeRow& row = rows[static_cast<std::size_t>(y - top)];
        const std::int64_t outerLeft = left + row.Left;
        const std::int64_t outerRight = left + width - 1 - row.Left;  // inclusive
        if (!pen) {
            FillSpan(y, outerLeft, outerRight + 1, m_brush.Color);
            continue;
        }
        const std::int64_t innerLeft = left + row.LeftEnd;
        const std::int64_t innerRight = left + width - 1 - row.LeftEnd;
        if (innerLeft >= innerRight) {
            FillSpan(y, outerLeft, outerRight + 1, m_pen.Color);
            continue;
        }
        FillSpan(y, outerLeft, innerLeft + 1, m_pen.Color);
        FillSpan(y, innerLeft + 1, innerRight, m_brush.Color);
        FillSpan(y, innerRight, outerRight + 1, m_pen.Color);
    }
}

void TCanvas::Rectangle(int x1, int y1, int x2, int y2) {
    const TShapeBox b = DeviceBox(x1, y1, x2, y2);
    if (b.Width <= 0 || b.Height <= 0) {
        return;
    }
    if (m_pen.Style == psClear) {
        // Without a pen the platform fills one pixel less to the right and at the bottom.
        FillBox(b.Left, b.Top, b.Width - 1, b.Height - 1, m_brush.Color);
        return;
    }
    if (const int pen = PenWidth(); pen > 1) {
        // A wide pen is centred on the outline, whose right and bottom sides lie on the last pixel
        // of the box: it reaches half its width beyond the box at the left and top.
        const std::int64_t outerLeft = b.Left - pen / 2;
        const std::int64_t outerTop = b.Top - pen / 2;
        const std::int64_t outerRight = b.Left + b.Width - 1 - pen / 2 + pen;
        const std::int64_t outerBottom = b.Top + b.Height - 1 - pen / 2 + pen;
        FillBox(outerLeft, outerTop, outerRight - outerLeft, outerBottom - outerTop, m_pen.Color);
        FillBox(outerLeft + pen, outerTop + pen, outerRight - outerLeft - 2 * pen,
                outerBottom - outerTop - 2 * pen, m_brush.Color);
        return;
    }
    const auto [from, to] = VisibleRows(b.Top, b.Height);
    for (std::int64_t y = from; y < to; ++y) {
        if (y == b.Top || y == b.Top + b.Height - 1 || b.Width <= 2) {
            FillSpan(y, b.Left, b.Left + b.Width, m_pen.Color);
            continue;
        }
        FillSpan(y, b.Left, b.Left + 1, m_pen.Color);
        FillSpan(y, b.Left + 1, b.Left + b.Width - 1, m_brush.Color);
        FillSpan(y, b.Left + b.Width - 1, b.Left + b.Width, m_pen.Color);
    }
}

bool TCanvas::DrawThinCurve(const TShapeBox& b) {
    if (b.Width <= 0 || b.Height <= 0 || b.Width > kMaxCurveSide || b.Height > kMaxCurveSide) {
        return true;
    }
    // Without a pen, a box of two pixels or less across fills as a rectangle does: one pixel less to
    // the right and at the bottom. Larger curves fill every pixel their outline would cover.
    if (m_pen.Style == psClear && (b.Width <= 2 || b.Height <= 2)) {
        FillBox(b.Left, b.Top, b.Width - 1, b.Height - 1, m_brush.Color);
        return true;
    }
    return false;
}

void TCanvas::Ellipse(int x1, int y1, int x2, int y2) {
    const TShapeBox b = DeviceBox(x1, y1, x2, y2);
    if (DrawThinCurve(b)) {
        return;
    }
    if (m_pen.Style != psClear && PenWidth() > 1) {
        DrawWideCurve(b, true, 0, 0);
        return;
    }
    DrawRows(b.Left, b.Top, b.Width, EllipseRows(static_cast<int>(b.Width), static_cast<int>(b.Height)));
}

void TCanvas::RoundRect(int x1, int y1, int x2, int y2, int ellipseWidth, int ellipseHeight) {
    const TShapeBox b = DeviceBox(x1, y1, x2, y2);
    if (DrawThinCurve(b)) {
        return;
    }
    ellipseWidth = static_cast<int>(std::clamp<std::int64_t>(Device(ellipseWidth), 0, INT_MAX));
    ellipseHeight = static_cast<int>(std::clamp<std::int64_t>(Device(ellipseHeight), 0, INT_MAX));
    if (m_pen.Style != psClear && PenWidth() > 1) {
        DrawWideCurve(b, false, ellipseWidth, ellipseHeight);
        return;
    }
    DrawRows(
        b.Left, b.Top, b.Width,
        RoundRectRows(static_cast<int>(b.Width), static_cast<int>(b.Height), ellipseWidth, ellipseHeight));
}

void TCanvas::DrawWideCurve(const TShapeBox& b, bool ellipse, int ellipseWidth, int ellipseHeight) {
    // The wide pen follows the curve's one-pixel outline, so both start from the same rows.
    const int w = static_cast<int>(b.Width);
    const int h = static_cast<int>(b.Height);
    const std::vector<TShapeRow> rows =
        ellipse ? EllipseRows(w, h) : RoundRectRows(w, h, ellipseWidth, ellipseHeight);
    // The pen reaches half its width beyond the outline, up and down as well as sideways.
    const int pen = PenWidth();
    const auto [from, to] = VisibleRows(b.Top - pen, b.Height + 2 * pen);
    const TWidePen spans = WidePenSpans(rows, b.Width, pen, from - b.Top, to - b.Top);
    for (const TShapeSpan& s : spans.Brush) {
        FillSpan(b.Top + s.Y, b.Left + s.X1, b.Left + s.X2, m_brush.Color);
    }
    for (const TShapeSpan& s : spans.Pen) {
        FillSpan(b.Top + s.Y, b.Left + s.X1, b.Left + s.X2, m_pen.Color);
    }
}

void TCanvas::FillRect(const TRect& r) {
    const std::int64_t left = Device(r.Left);
    const std::int64_t top = Device(r.Top);
    FillBox(left, top, Device(r.Right) - left, Device(r.Bottom) - top, m_brush.Color);
}

void TCanvas::DashedFrame(const TRect& r) {
    if (m_pen.Style == psClear || r.IsEmpty()) {
        return;
    }
    // Dashes of three pixels with gaps of three, counted from each corner so that the frame looks
    // the same at every size.
    auto dashed = [](std::int64_t i) { return i % 6 < 3; };
    if (m_ratio != 1.0) {
        // At another ratio each logical pixel of the frame covers its scaled square; the pattern
        // keeps its logical lengths.
        auto dot = [&](std::int64_t x, std::int64_t y) {
            const std::int64_t left = Device(x);
            const std::int64_t top = Device(y);
            FillBox(left, top, Device(x + 1) - left, Device(y + 1) - top, m_pen.Color);
        };
        for (std::int64_t i = 0; i < std::int64_t{r.Right} - r.Left; ++i) {
            if (dashed(i)) {
                dot(r.Left + i, r.Top);
                dot(r.Left + i, r.Bottom - std::int64_t{1});
            }
        }
        for (std::int64_t i = 0; i < std::int64_t{r.Bottom} - r.Top; ++i) {
            if (dashed(i)) {
                dot(r.Left, r.Top + i);
                dot(r.Right - std::int64_t{1}, r.Top + i);
            }
        }
        return;
    }
    const std::int64_t w = std::int64_t{r.Right} - r.Left;
    const std::int64_t h = std::int64_t{r.Bottom} - r.Top;
    const std::int64_t right = r.Right - std::int64_t{1};
    const std::int64_t bottom = r.Bottom - std::int64_t{1};
    const std::int64_t firstColumn =
        std::max<std::int64_t>(0, std::int64_t{m_clip.Left} - m_origin.X - r.Left);
    const std::int64_t lastColumn =
        std::min<std::int64_t>(w, std::int64_t{m_clip.Right} - m_origin.X - r.Left);
    for (std::int64_t i = firstColumn; i < lastColumn; ++i) {
        if (dashed(i)) {
            FillSpan(r.Top, r.Left + i, r.Left + i + 1, m_pen.Color);
            FillSpan(bottom, r.Left + i, r.Left + i + 1, m_pen.Color);
        }
    }
    const auto [from, to] = VisibleRows(r.Top, h);
    for (std::int64_t y = from; y < to; ++y) {
        if (dashed(y - r.Top)) {
            FillSpan(y, r.Left, r.Left + 1, m_pen.Color);
            FillSpan(y, right, right + 1, m_pen.Color);
        }
    }
}

TColor TCanvas::Pixel(int x, int y) const {
    const std::int64_t sx = Device(x) + m_origin.X;
    const std::int64_t sy = Device(y) + m_origin.Y;
    if (m_surface == nullptr || sx < m_clip.Left || sx >= m_clip.Right || sy < m_clip.Top ||
        sy >= m_clip.Bottom) {
        return clBlack;
    }
    return FromQRgb(reinterpret_cast<const QRgb*>(m_surface->constScanLine(static_cast<int>(sy)))[sx]);
}

void TCanvas::SetPixel(int x, int y, TColor color) {
    const std::int64_t left = Device(x);
    const std::int64_t top = Device(y);
    FillBox(left, top, Device(std::int64_t{x} + 1) - left, Device(std::int64_t{y} + 1) - top, color);
}

void TCanvas::CopyFrom(int dx, int dy, int w, int h, const TCanvas& src, int sx, int sy) {
    if (w <= 0 || h <= 0) {
        return;
    }
    const std::int64_t left = Device(dx);
    const std::int64_t top = Device(dy);
    CopyDevice(left, top, Device(std::int64_t{dx} + w) - left, Device(std::int64_t{dy} + h) - top, src,
               src.Device(sx), src.Device(sy));
}

void TCanvas::CopyDevice(std::int64_t dx, std::int64_t dy, std::int64_t w, std::int64_t h, const TCanvas& src,
                         std::int64_t sx, std::int64_t sy) {
    if (m_surface == nullptr || src.m_surface == nullptr || w <= 0 || h <= 0) {
        return;
    }
    // Work in surface coordinates: the destination is cut to our clip rectangle, the source to its
    // surface, and both cuts are carried over to the other side.
    const std::int64_t shiftX = (sx + src.m_origin.X) - (dx + m_origin.X);
    const std::int64_t shiftY = (sy + src.m_origin.Y) - (dy + m_origin.Y);
    std::int64_t left = dx + m_origin.X;
    std::int64_t top = dy + m_origin.Y;
    std::int64_t right = left + w;
    std::int64_t bottom = top + h;
    left = std::max({left, std::int64_t{m_clip.Left}, -shiftX});
    top = std::max({top, std::int64_t{m_clip.Top}, -shiftY});
    right = std::min({right, std::int64_t{m_clip.Right}, src.m_surface->width() - shiftX});
    bottom = std::min({bottom, std::int64_t{m_clip.Bottom}, src.m_surface->height() - shiftY});
    if (left >= right || top >= bottom) {
        return;
    }
    const bool sameSurface =
        src.m_surface == m_surface || src.m_surface->constBits() == m_surface->constBits();
    const std::size_t bytes = static_cast<std::size_t>(right - left) * sizeof(QRgb);
    // Copying within one surface downwards must start at the bottom row, or it would read rows it has
    // already overwritten; memmove takes care of overlap within a row.
    const bool upwards = sameSurface && shiftY < 0;
    for (std::int64_t i = 0; i < bottom - top; ++i) {
        const std::int64_t y = upwards ? bottom - 1 - i : top + i;
        const auto* from =
            reinterpret_cast<const QRgb*>(src.m_surface->constScanLine(static_cast<int>(y + shiftY)));
        auto* to = reinterpret_cast<QRgb*>(m_surface->scanLine(static_cast<int>(y)));
        std::memmove(to + left, from + left + shiftX, bytes);
    }
}

void TCanvas::DrawImage(int x, int y, const QImage& image) {
    if (m_surface == nullptr || image.isNull()) {
        return;
    }
    const QImage rgb =
        image.format() == QImage::Format_RGB32 ? image : image.convertToFormat(QImage::Format_RGB32);
    // Borrow the picture's pixels through a canvas of its own so that the clipping lives in one place.
    QImage view(rgb.constBits(), rgb.width(), rgb.height(), rgb.bytesPerLine(), QImage::Format_RGB32);
    TCanvas source(&view);
    CopyDevice(Device(x), Device(y), rgb.width(), rgb.height(), source, 0, 0);
}

void TCanvas::Draw(int x, int y, const TGraphic* graphic) {
    if (graphic == nullptr || graphic->Empty()) {
        return;
    }
    StretchDraw(Bounds(x, y, graphic->Width(), graphic->Height()), graphic);
}

void TCanvas::StretchDraw(const TRect& dest, const TGraphic* graphic) {
    if (m_surface == nullptr || graphic == nullptr || graphic->Empty() || dest.IsEmpty()) {
        return;
    }
    const QImage& image = graphic->Image();
    const bool keyed = graphic->Transparent() && IsExactly<TBitmap>(graphic);
    // The picture is sampled at device pixels, so at a higher ratio it shows all the detail it has.
    const TShapeBox device = DeviceBox(dest.Left, dest.Top, dest.Right, dest.Bottom);
    if (!keyed && device.Width == image.width() && device.Height == image.height()) {
        DrawImage(dest.Left, dest.Top, image);
        return;
    }
    // A transparent bitmap leaves the pixels of its bottom-left colour undrawn, as the platform's
    // bitmaps do. Scaling takes the nearest source pixel (pixel centre to pixel centre): exact, the
    // same everywhere, and what the platform's default stretch mode does.
    const QImage rgb =
        image.format() == QImage::Format_RGB32 ? image : image.convertToFormat(QImage::Format_RGB32);
    const QRgb key = rgb.pixel(0, rgb.height() - 1);
    const std::int64_t dw = device.Width;
    const std::int64_t dh = device.Height;
    const TRect deviceDest{static_cast<int>(device.Left), static_cast<int>(device.Top),
                           static_cast<int>(device.Left + dw), static_cast<int>(device.Top + dh)};
    if (dw <= 0 || dh <= 0) {
        return;
    }
    const TRect visible = deviceDest.Offset(m_origin.X, m_origin.Y).Intersect(m_clip);
    if (visible.IsEmpty()) {
        return;
    }
    std::vector<int> columns(static_cast<std::size_t>(visible.Width()));
    for (int x = visible.Left; x < visible.Right; ++x) {
        const std::int64_t i = std::int64_t{x} - m_origin.X - deviceDest.Left;
        columns[static_cast<std::size_t>(x - visible.Left)] =
            static_cast<int>((2 * i + 1) * rgb.width() / (2 * dw));
    }
    for (int y = visible.Top; y < visible.Bottom; ++y) {
        const std::int64_t j = std::int64_t{y} - m_origin.Y - deviceDest.Top;
        const int sourceRow = static_cast<int>((2 * j + 1) * rgb.height() / (2 * dh));
        const auto* from = reinterpret_cast<const QRgb*>(rgb.constScanLine(sourceRow));
        auto* to = reinterpret_cast<QRgb*>(m_surface->scanLine(y));
        for (int x = visible.Left; x < visible.Right; ++x) {
            const QRgb value = from[columns[static_cast<std::size_t>(x - visible.Left)]];
            if (!keyed || value != key) {
                to[x] = value;
            }
        }
    }
}

bool TCanvas::BeginText(QPainter& painter, const TRect& clip) const {
    const TShapeBox device = DeviceBox(clip.Left, clip.Top, clip.Right, clip.Bottom);
    const TRect deviceClip{static_cast<int>(device.Left), static_cast<int>(device.Top),
                           static_cast<int>(device.Left + device.Width),
                           static_cast<int>(device.Top + device.Height)};
    const TRect visible = deviceClip.Offset(m_origin.X, m_origin.Y).Intersect(m_clip);
    if (m_surface == nullptr || visible.IsEmpty()) {
        return false;
    }
    // Text must read on whatever it lands on, which a desktop theme may have made dark or light.
    // Grey text stays grey: it says that something is unavailable.
    const TColor under = DominantColor(*m_surface, ToQRect(visible));
    const TColor pen =
        m_font.Color() == clGrayText ? ColorToRGB(clGrayText) : ReadableTextColor(m_font.Color(), under);
    if (!painter.begin(m_surface)) {
        return false;
    }
    painter.setClipRect(ToQRect(visible));
    painter.translate(m_origin.X, m_origin.Y);
    // Text is laid out in logical pixels and drawn by Qt at the device resolution.
    painter.scale(m_ratio, m_ratio);
    painter.setFont(m_font.ToQFont());
    painter.setPen(QColor(ToQRgb(pen)));
    return true;
}

void TCanvas::TextOut(int x, int y, const std::string& text) {
    QPainter painter;
    if (text.empty() || !BeginText(painter, ClipRect())) {
        return;
    }
    // (x, y) is the top-left corner of the text's cell; Qt places text by its baseline.
    painter.drawText(QPoint(x, y + painter.fontMetrics().ascent()), QString::fromStdString(text));
}

void TCanvas::TextRect(const TRect& r, const std::string& text, TAlignment alignment, bool wordWrap,
                       bool verticalCentre) {
    QPainter painter;
    if (text.empty() || !BeginText(painter, r.Intersect(ClipRect()))) {
        return;
    }
    int flags = Qt::TextExpandTabs;
    switch (alignment) {
        case taLeftJustify:
            flags |= Qt::AlignLeft;
            break;
        case taRightJustify:
            flags |= Qt::AlignRight;
            break;
        case taCenter:
            flags |= Qt::AlignHCenter;
            break;
    }
    // Centring vertically only makes sense for one line, as with the platform's text drawing.
    flags |= verticalCentre ? (Qt::AlignVCenter | Qt::TextSingleLine) : Qt::AlignTop;
    if (wordWrap && !verticalCentre) {
        flags |= Qt::TextWordWrap;
    }
    painter.drawText(ToQRect(r), flags, QString::fromStdString(text));
}

int TCanvas::TextWidth(const std::string& text) const {
    return QFontMetrics(m_font.ToQFont()).horizontalAdvance(QString::fromStdString(text));
}

int TCanvas::TextHeight(const std::string& /*text*/) const {
    return QFontMetrics(m_font.ToQFont()).height();
}

}  // namespace kx
