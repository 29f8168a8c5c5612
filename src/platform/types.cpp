#include "platform/types.h"

#include <algorithm>
#include <array>

#include <QGuiApplication>
#include <QPalette>

namespace kx {

TRect TRect::Intersect(const TRect& o) const {
    const TRect r{std::max(Left, o.Left), std::max(Top, o.Top), std::min(Right, o.Right),
                  std::min(Bottom, o.Bottom)};
    // Callers test the result with IsEmpty; a zero rectangle also keeps Width and Height from going negative.
    return r.IsEmpty() ? TRect{} : r;
}

namespace {

// The light theme's system colours, indexed by system colour number. They are the stock values of a
// desktop with the default appearance, and answer only while no application (and so no desktop
// palette) exists, as in the readers' fuzzing programs.
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

// Where each system colour lives in the desktop's palette. System colours are the theme's to choose,
// so they come from the palette the desktop gives Qt, and change when the user changes theme. The
// button face is the background of dialogs and panels, which in Qt is the Window role (Button is
// only the face of push buttons), and the text drawn on it is WindowText. Grey text is what the
// palette gives disabled text.
struct TPaletteSlot {
    QPalette::ColorGroup Group = QPalette::Active;
    QPalette::ColorRole Role = QPalette::NoRole;
};

constexpr std::array<TPaletteSlot, 31> kPaletteSlots = {{
    {QPalette::Active, QPalette::Button},             // 0 scroll bar
    {QPalette::Active, QPalette::Dark},               // 1 desktop background
    {QPalette::Active, QPalette::Highlight},          // 2 active caption
    {QPalette::Inactive, QPalette::Highlight},        // 3 inactive caption
    {QPalette::Active, QPalette::Window},             // 4 menu
    {QPalette::Active, QPalette::Base},               // 5 window
    {QPalette::Active, QPalette::Dark},               // 6 window frame
    {QPalette::Active, QPalette::WindowText},         // 7 menu text
    {QPalette::Active, QPalette::WindowText},         // 8 window text
    {QPalette::Active, QPalette::HighlightedText},    // 9 caption text
    {QPalette::Active, QPalette::Button},             // 10 active border
    {QPalette::Inactive, QPalette::Button},           // 11 inactive border
    {QPalette::Active, QPalette::Mid},                // 12 application workspace
    {QPalette::Active, QPalette::Highlight},          // 13 highlight
    {QPalette::Active, QPalette::HighlightedText},    // 14 highlight text
    {QPalette::Active, QPalette::Window},             // 15 button face
    {QPalette::Active, QPalette::Dark},               // 16 button shadow
    {QPalette::Disabled, QPalette::WindowText},       // 17 grey text
    {QPalette::Active, QPalette::ButtonText},         // 18 button text
    {QPalette::Inactive, QPalette::HighlightedText},  // 19 inactive caption text
    {QPalette::Active, QPalette::Light},              // 20 button highlight
    {QPalette::Active, QPalette::Shadow},             // 21 3D dark shadow
    {QPalette::Active, QPalette::Midlight},           // 22 3D light
    {QPalette::Active, QPalette::ToolTipText},        // 23 tooltip text
    {QPalette::Active, QPalette::ToolTipBase},        // 24 tooltip background
    {QPalette::Active, QPalette::NoRole},             // 25 unused
    {QPalette::Active, QPalette::Link},               // 26 hot-tracked item
    {QPalette::Active, QPalette::Highlight},          // 27 active caption gradient
    {QPalette::Inactive, QPalette::Highlight},        // 28 inactive caption gradient
    {QPalette::Active, QPalette::Highlight},          // 29 menu highlight
    {QPalette::Active, QPalette::Window},             // 30 menu bar
}};

}  // namespace

TColor ColorToRGB(TColor color) {
    if (color >= 0) {
        return color;
    }
    const unsigned index = static_cast<unsigned>(color) & 0xFFu;
    // An unknown system colour reads as black, as the window system answers for one it does not have.
    if (index >= kSystemColors.size()) {
        return clBlack;
    }
    const TPaletteSlot slot = kPaletteSlots[index];
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr ||
        slot.Role == QPalette::NoRole) {
        return kSystemColors[index];
    }
    // Looked up on every use, so whatever is painted next follows a palette the desktop changed meanwhile.
    const QRgb rgb = QGuiApplication::palette().color(slot.Group, slot.Role).rgb();
    return RGB(qRed(rgb), qGreen(rgb), qBlue(rgb));
}

}  // namespace kx
