#pragma once

// The pixels the platform's GDI drew for a set of rectangles, ellipses and
// round rectangles, kept as text in the test data folder: gdi-shapes.txt at
// their own size, gdi-shapes-2x.txt with every coordinate, corner and pen
// width doubled. Each case starts with a line "case NAME WIDTH HEIGHT", where
// NAME reads "shape_x1_y1_x2_y2_corner_pen" (or "nopen"), followed by HEIGHT
// rows of '.' background, '#' pen and 'o' brush.

#include <fstream>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/types.h"
#include "support/picture_text.h"

namespace kx::test {

// The colours the shapes are drawn in for the comparison, and the characters
// the fixture pictures write them as: '.' background, '#' pen, 'o' brush, '?'
// anything else.
inline constexpr TColor kBackground = clWhite;
inline constexpr TColor kPen = clBlack;
inline constexpr TColor kBrush = clRed;

inline char ShapeSymbol(TColor c) {
    switch (c) {
        case kBackground:
            return '.';
        case kPen:
            return '#';
        case kBrush:
            return 'o';
        default:
            return '?';
    }
}

struct TGdiShapeCase {
    std::string Name;
    std::string Shape;  // rect, ellipse or roundrect
    int X1 = 0, Y1 = 0, X2 = 0, Y2 = 0, Corner = 0;
    bool Pen = true;
    int Width = 0, Height = 0;  // of the picture, in pixels
    TPictureText Expected;
};

// Parameterised tests print the case's name, not its pixels.
inline void PrintTo(const TGdiShapeCase& c, std::ostream* os) {
    *os << c.Name;
}

// Every case of one fixture file, in file order; an unreadable file gives none.
inline std::vector<TGdiShapeCase> LoadGdiShapeCases(const std::string& path) {
    std::vector<TGdiShapeCase> cases;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("case ", 0) != 0) {
            continue;
        }
        TGdiShapeCase c;
        std::istringstream header(line.substr(5));
        header >> c.Name >> c.Width >> c.Height;
        std::string fields = c.Name;
        for (char& ch : fields) {
            ch = ch == '_' ? ' ' : ch;
        }
        std::istringstream parts(fields);
        std::string pen;
        parts >> c.Shape >> c.X1 >> c.Y1 >> c.X2 >> c.Y2 >> c.Corner >> pen;
        c.Pen = pen == "pen";
        for (int y = 0; y < c.Height && std::getline(in, line); ++y) {
            c.Expected.push_back(line);
        }
        cases.push_back(c);
    }
    return cases;
}

}  // namespace kx::test
