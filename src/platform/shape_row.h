#pragma once

#include <algorithm>
#include <climits>
#include <cstdint>
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

// The pixels from X1 up to X2 (exclusive) of row Y.
struct TShapeSpan {
    std::int64_t Y = 0;
    std::int64_t X1 = 0;
    std::int64_t X2 = 0;
};

// What a pen wider than one pixel paints of the curve whose one-pixel outline is given by rows
// (one per row of a box width pixels wide, as the functions above return them), in coordinates
// relative to the box's top-left corner and only for the rows from firstRow up to lastRow
// (exclusive). The brush spans are to be filled first and the pen spans over them.
struct TWidePen {
    std::vector<TShapeSpan> Brush;
    std::vector<TShapeSpan> Pen;
};
TWidePen WidePenSpans(const std::vector<TShapeRow>& rows, std::int64_t width, int pen, std::int64_t firstRow,
                      std::int64_t lastRow);

}  // namespace kx
