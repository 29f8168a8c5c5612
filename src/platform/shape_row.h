#pragma once

#include <algorithm>
#include <climits>
#include <vector>

namespace kx {

// The outline of one row of a shape, as offsets from the left edge of its box: the pen covers the
// pixels from Left to LeftEnd and their mirror images at the right; the brush covers what lies
// between. A row whose LeftEnd reaches its mirror image is outline all along.
struct TShapeRow {
    int Left = INT_MAX;
    int LeftEnd = INT_MIN;
    void Add(int x) {
        Left = std::min(Left, x);
        LeftEnd = std::max(LeftEnd, x);
    }
};

// The rows of the ellipse inscribed in a w x h box, as the platform's GDI draws it.
std::vector<TShapeRow> EllipseRows(int w, int h);
// The rows of a w x h rectangle whose corners are the quarters of an ew x eh ellipse.
std::vector<TShapeRow> RoundRectRows(int w, int h, int ew, int eh);

}  // namespace kx
