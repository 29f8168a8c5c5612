#include "platform/types.h"

#include <algorithm>
#include <array>

namespace kx {

TRect TRect::Intersect(const TRect& o) const {
    const TRect r{std::max(Left, o.Left), std::max(Top, o.Top), std::min(Right, o.Right),
                  std::min(Bottom, o.Bottom)};
    // Callers test the result with IsEmpty; a zero rectangle also keeps Width and Height from going negative.
    return r.IsEmpty() ? TRect{} : r;
}

namespace {

// The light theme's system colours, indexed by system colour number. They are the stock values of a
// desktop with the default appearance, so that pictures composed here look as they were designed.
constexpr std::array<TColor, 31> kSystemColors = {
    RGB(200, 200, 200),  // 0 scroll bar
    RGB(0, 0, 0),        // 1 desktop background
    RGB(153, 180, 209),  // 2 active caption
    RGB(191, 205, 219),  // 3 inactive caption
    RGB(240, 240, 240),  // 4 menu
    RGB(255, 255, 255),  // 5 window
    RGB(100, 100, 100),  // 6 window frame
    RGB(0, 0, 0),        // 7 menu text
    RGB(0, 0, 0),        // 8 window text
    RGB(0, 0, 0),        // 9 caption text
    RGB(180, 180, 180),  // 10 active border
    RGB(244, 247, 252),  // 11 inactive border
    RGB(171, 171, 171),  // 12 application workspace
    RGB(0, 120, 215),    // 13 highlight
    RGB(255, 255, 255),  // 14 highlight text
    RGB(240, 240, 240),  // 15 button face
    RGB(160, 160, 160),  // 16 button shadow
    RGB(109, 109, 109),  // 17 grey text
    RGB(0, 0, 0),        // 18 button text
    RGB(0, 0, 0),        // 19 inactive caption text
    RGB(255, 255, 255),  // 20 button highlight
    RGB(105, 105, 105),  // 21 3D dark shadow
    RGB(227, 227, 227),  // 22 3D light
    RGB(0, 0, 0),        // 23 tooltip text
    RGB(255, 255, 225),  // 24 tooltip background
    RGB(0, 0, 0),        // 25 unused
    RGB(0, 102, 204),    // 26 hot-tracked item
    RGB(185, 209, 234),  // 27 active caption gradient
    RGB(215, 228, 242),  // 28 inactive caption gradient
    RGB(51, 153, 255),   // 29 menu highlight
    RGB(240, 240, 240),  // 30 menu bar
};

}  // namespace

TColor ColorToRGB(TColor color) {
    if (color >= 0) {
        return color;
    }
    const unsigned index = static_cast<unsigned>(color) & 0xFFu;
    // An unknown system colour reads as black, as the window system answers for one it does not have.
    return index < kSystemColors.size() ? kSystemColors[index] : clBlack;
}

}  // namespace kx
