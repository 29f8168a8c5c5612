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

}  // namespace kx
