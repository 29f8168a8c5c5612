#include "platform/shape_row.h"

#include <cstdint>

namespace kx {

namespace {

// Products of squared semi-axes outgrow 64 bits well before the coordinate range ends.
using Wide = __int128;

struct TQuadrantPoint {
    std::int64_t U;
    std::int64_t V;
};

// One quarter of the outline of the ellipse inscribed in a box w pixels wide and h high (both at
// least 3). Coordinates are doubled so that the centre of a box of even size, which falls between
// pixels, is still an integer: the centre is (0, 0), the semi-axes are A = w - 1 and B = h - 1, and a
// pixel sits at every other integer. The curve is traced from the top of the box: one pixel per
// column while it is flatter than 45 degrees, then one pixel per row. Of the two candidate pixels at
// each step the one nearer the curve is taken, nearness being the size of the ellipse's equation
// B^2 u^2 + A^2 v^2 - A^2 B^2 at the pixel; this gives the pixels the platform's GDI draws.
std::vector<TQuadrantPoint> TraceQuadrant(std::int64_t A, std::int64_t B) {
    const Wide A2 = Wide(A) * A;
    const Wide B2 = Wide(B) * B;
    auto residual = [&](std::int64_t u, std::int64_t v) {
        const Wide f = B2 * u * u + A2 * v * v - A2 * B2;
        return f < 0 ? -f : f;
    };
    std::vector<TQuadrantPoint> points;
    std::int64_t u = A % 2;
    std::int64_t v = B;
    while (B2 * u < A2 * v && u + 2 <= A) {
        points.push_back({u, v});
        u += 2;
        if (v - 2 >= 0 && residual(u, v) > residual(u, v - 2)) {
            v -= 2;
        }
    }
    while (v >= 0) {
        points.push_back({u, v});
        v -= 2;
        if (v < 0) {
            break;
        }
        if (u + 2 <= A && residual(u + 2, v) < residual(u, v)) {
            u += 2;
        }
    }
    // A very flat ellipse can reach its middle row short of the box's side; the outline must still
    // touch all four sides of the box.
    for (std::int64_t end = points.back().U + 2; end <= A; end += 2) {
        points.push_back({end, points.back().V});
    }
    return points;
}

}  // namespace

// The rows of the ellipse inscribed in a w x h box.
std::vector<TShapeRow> EllipseRows(int w, int h) {
    std::vector<TShapeRow> rows(static_cast<std::size_t>(h));
    if (w <= 2 || h <= 2) {
        for (TShapeRow& row : rows) {
            row = {0, w - 1};
        }
        return rows;
    }
    // The tracing is not symmetric in its two axes, so a tall ellipse is traced lying down and turned
    // back; an ellipse and its transpose then always have transposed pixels.
    const bool tall = h > w;
    const std::int64_t A = (tall ? h : w) - 1;
    const std::int64_t B = (tall ? w : h) - 1;
    for (TQuadrantPoint p : TraceQuadrant(A, B)) {
        const std::int64_t along = (A - p.U) / 2;  // offset from the near end of the long axis
        const std::int64_t top = (B - p.V) / 2;
        const std::int64_t bottom = (B + p.V) / 2;
        if (tall) {
            rows[static_cast<std::size_t>(along)].Add(static_cast<int>(top));
            rows[static_cast<std::size_t>(A - along)].Add(static_cast<int>(top));
        } else {
            rows[static_cast<std::size_t>(top)].Add(static_cast<int>(along));
            rows[static_cast<std::size_t>(bottom)].Add(static_cast<int>(along));
        }
    }
    return rows;
}

// A rectangle whose corners are the quarters of an ew x eh ellipse, each corner ellipse cut down to
// the box first. Corners of two pixels or less are square.
std::vector<TShapeRow> RoundRectRows(int w, int h, int ew, int eh) {
    ew = std::clamp(ew, 0, w);
    eh = std::clamp(eh, 0, h);
    std::vector<TShapeRow> rows(static_cast<std::size_t>(h));
    if (ew <= 2 || eh <= 2) {
        for (TShapeRow& row : rows) {
            row = {0, 0};
        }
        rows.front() = {0, w - 1};
        rows.back() = {0, w - 1};
        return rows;
    }
    const std::vector<TShapeRow> corner = EllipseRows(ew, eh);
    const int upperRows = (eh + 1) / 2;
    for (int cy = 0; cy < eh; ++cy) {
        TShapeRow row = corner[static_cast<std::size_t>(cy)];
        if (cy == 0 || cy == eh - 1) {
            // The corner's top and bottom rows continue into the straight edges across the box.
            row.LeftEnd = w - 1 - row.Left;
        }
        // The middle row of a corner ellipse of odd height belongs to the upper and the lower corner.
        for (int y : {cy < upperRows ? cy : -1, cy >= eh - upperRows ? h - eh + cy : -1}) {
            if (y >= 0) {
                rows[static_cast<std::size_t>(y)].Add(row.Left);
                rows[static_cast<std::size_t>(y)].Add(row.LeftEnd);
            }
        }
    }
    for (int y = upperRows - 1; y <= h - upperRows; ++y) {
        rows[static_cast<std::size_t>(y)].Add(0);
    }
    return rows;
}

namespace {

struct TPathPoint {
    std::int64_t X;
    std::int64_t Y;
};

// The smallest integer not below n / d, for d > 0.
std::int64_t CeilDiv(std::int64_t n, std::int64_t d) {
    return n >= 0 ? (n + d - 1) / d : -((-n) / d);
}

struct TPathEdge {
    TPathPoint A;
    TPathPoint B;
};

// The edges of the closed path through the centres of the outline's pixels that lie on the rows from
// firstRow up to lastRow (exclusive). The path runs down the left side row by row, each row's run of
// outline pixels walked outwards in the upper half and inwards in the lower half (the middle row of
// an odd height out and back), and up the mirrored right side; only the ends of each run are corners
// of the path, the pixels between lie on its edges. Only the rows asked for are walked, so that a
// huge curve of which little is seen costs little.
std::vector<TPathEdge> OutlineEdges(const std::vector<TShapeRow>& rows, std::int64_t width,
                                    std::int64_t firstRow, std::int64_t lastRow) {
    const std::int64_t h = static_cast<std::int64_t>(rows.size());
    const std::int64_t from = std::max<std::int64_t>(firstRow, 0);
    const std::int64_t to = std::min(lastRow, h);
    std::vector<TPathPoint> left;
    for (std::int64_t y = from; y < to; ++y) {
        const TShapeRow& row = rows[static_cast<std::size_t>(y)];
        if (2 * y < h - 1) {
            left.push_back({row.LeftEnd, y});
            left.push_back({row.Left, y});
        } else if (2 * y > h - 1) {
            left.push_back({row.Left, y});
            left.push_back({row.LeftEnd, y});
        } else {
            left.push_back({row.LeftEnd, y});
            left.push_back({row.Left, y});
            left.push_back({row.LeftEnd, y});
        }
    }
    auto mirror = [width](TPathPoint p) { return TPathPoint{width - 1 - p.X, p.Y}; };
    std::vector<TPathEdge> edges;
    for (std::size_t i = 0; i + 1 < left.size(); ++i) {
        edges.push_back({left[i], left[i + 1]});
        edges.push_back({mirror(left[i]), mirror(left[i + 1])});
    }
    // The top and bottom rows join the two sides.
    if (!left.empty() && from == 0) {
        edges.push_back({left.front(), mirror(left.front())});
    }
    if (!left.empty() && to == h) {
        edges.push_back({left.back(), mirror(left.back())});
    }
    return edges;
}

}  // namespace

// The platform widens a curve by sweeping a square pen, as wide as the pen, along the closed path
// through the centres of the curve's one-pixel outline, and fills the brush inside that path. A pixel
// belongs to an area when its centre lies inside it, or on its left or top edge. The pen is worked
// out on doubled coordinates, where pixel centres are even and the pen's half width is the pen's
// width, so that odd pens are exact as well.
TWidePen WidePenSpans(const std::vector<TShapeRow>& rows, std::int64_t width, int pen, std::int64_t firstRow,
                      std::int64_t lastRow) {
    TWidePen out;
    if (firstRow >= lastRow) {
        return out;
    }
    const std::int64_t r = pen;  // half the pen in doubled coordinates
    // An edge paints no further than half a pen from its rows, so the edges on the rows a pen's width
    // around those asked for are all that matter.
    const std::vector<TPathEdge> edges = OutlineEdges(rows, width, firstRow - pen - 1, lastRow + pen + 1);
    // The brush: on each row the inside lies between the first and second edge the row crosses, the
    // third and fourth and so on. A pixel centre exactly on a crossing belongs to the stretch that
    // starts there, not to the one that ends there.
    struct TCrossing {
        std::int64_t Y;
        std::int64_t X;  // first pixel at or right of the crossing
    };
    std::vector<TCrossing> crossings;
    for (const TPathEdge& e : edges) {
        const TPathPoint a = e.A;
        const TPathPoint b = e.B;
        // An edge is crossed by the rows from its upper end down to just above its lower end.
        const std::int64_t top = std::max(std::min(a.Y, b.Y), firstRow);
        const std::int64_t bottom = std::min(std::max(a.Y, b.Y), lastRow);
        for (std::int64_t y = top; y < bottom; ++y) {
            const std::int64_t sign = b.Y > a.Y ? 1 : -1;
            crossings.push_back({y, a.X + CeilDiv(sign * (y - a.Y) * (b.X - a.X), sign * (b.Y - a.Y))});
        }
    }
    std::sort(crossings.begin(), crossings.end(),
              [](const TCrossing& p, const TCrossing& q) { return p.Y != q.Y ? p.Y < q.Y : p.X < q.X; });
    for (std::size_t i = 0; i < crossings.size();) {
        std::size_t rowEnd = i;
        while (rowEnd < crossings.size() && crossings[rowEnd].Y == crossings[i].Y) {
            ++rowEnd;
        }
        for (std::size_t j = i; j + 1 < rowEnd; j += 2) {
            if (crossings[j].X < crossings[j + 1].X) {
                out.Brush.push_back({crossings[j].Y, crossings[j].X, crossings[j + 1].X});
            }
        }
        i = rowEnd;
    }
    // The pen: the square swept along one edge covers, on a row, the stretch between the edge's
    // leftmost and rightmost points within half a pen of the row, grown by half a pen each way. As
    // everywhere, the area's top and left borders belong to it and its bottom and right ones do not.
    for (const TPathEdge& e : edges) {
        TPathPoint a{2 * e.A.X, 2 * e.A.Y};
        TPathPoint b{2 * e.B.X, 2 * e.B.Y};
        if (a.Y > b.Y) {
            std::swap(a, b);
        }
        const std::int64_t from = std::max(CeilDiv(a.Y - r, 2), firstRow);
        const std::int64_t to = std::min(CeilDiv(b.Y + r, 2), lastRow);
        for (std::int64_t y = from; y < to; ++y) {
            const std::int64_t row = 2 * y;
            std::int64_t lo = 0;
            std::int64_t hi = 0;
            std::int64_t d = 1;
            if (a.Y == b.Y) {
                lo = std::min(a.X, b.X);
                hi = std::max(a.X, b.X);
            } else {
                // The points of the edge with a height from row - r to row + r, as fractions over d.
                d = b.Y - a.Y;
                const std::int64_t y0 = std::max(a.Y, row - r);
                const std::int64_t y1 = std::min(b.Y, row + r);
                const std::int64_t x0 = a.X * d + (y0 - a.Y) * (b.X - a.X);
                const std::int64_t x1 = a.X * d + (y1 - a.Y) * (b.X - a.X);
                lo = std::min(x0, x1);
                hi = std::max(x0, x1);
            }
            // Pixel x is covered when lo - r <= 2x < hi + r.
            const std::int64_t first = CeilDiv(lo - r * d, 2 * d);
            const std::int64_t end = CeilDiv(hi + r * d, 2 * d);
            if (first < end) {
                out.Pen.push_back({y, first, end});
            }
        }
    }
    return out;
}

}  // namespace kx
