#pragma once

// Small value types shared by the whole platform layer: geometry, colours,
// messages and the notification shape of events.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace kx {

class TObject;

struct TPoint {
    int X = 0;
    int Y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

// A rectangle from (Left, Top) inclusive to (Right, Bottom) exclusive.
struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    bool Contains(TPoint p) const { return p.X >= Left && p.X < Right && p.Y >= Top && p.Y < Bottom; }
    TRect Intersect(const TRect& o) const;
    TRect Offset(int dx, int dy) const { return {Left + dx, Top + dy, Right + dx, Bottom + dy}; }
    friend bool operator==(const TRect&, const TRect&) = default;
};

inline TRect Bounds(int left, int top, int width, int height) {
    return {left, top, left + width, top + height};
}

// Colours: red in the low byte, then green, then blue. A value 0x80000000 + n
// names system colour n.
using TColor = std::int32_t;

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clNavy = 0x800000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clNone = 0x1FFFFFFF;

constexpr TColor clSystemColor = static_cast<TColor>(0x80000000u);
constexpr TColor clScrollBar = clSystemColor | 0;
constexpr TColor clBackground = clSystemColor | 1;
constexpr TColor clActiveCaption = clSystemColor | 2;
constexpr TColor clWindow = clSystemColor | 5;
constexpr TColor clWindowFrame = clSystemColor | 6;
constexpr TColor clMenu = clSystemColor | 4;
constexpr TColor clMenuText = clSystemColor | 7;
constexpr TColor clWindowText = clSystemColor | 8;
constexpr TColor clHighlight = clSystemColor | 13;
constexpr TColor clHighlightText = clSystemColor | 14;
constexpr TColor clBtnFace = clSystemColor | 15;
constexpr TColor clBtnShadow = clSystemColor | 16;
constexpr TColor clGrayText = clSystemColor | 17;
constexpr TColor clBtnText = clSystemColor | 18;
constexpr TColor clBtnHighlight = clSystemColor | 20;
constexpr TColor clInfoText = clSystemColor | 23;
constexpr TColor clInfoBk = clSystemColor | 24;

// The RGB value a colour stands for. System colours are looked up in the
// desktop's palette each time (the application's QPalette), so they follow
// the desktop's theme; without an application they take the values of a
// light theme. Explicit colours are returned as given.
TColor ColorToRGB(TColor color);
constexpr int GetRValue(TColor c) {
    return c & 0xFF;
}
constexpr int GetGValue(TColor c) {
    return (c >> 8) & 0xFF;
}
constexpr int GetBValue(TColor c) {
    return (c >> 16) & 0xFF;
}
constexpr TColor RGB(int r, int g, int b) {
    return (r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16);
}

// A window message, delivered synchronously by Perform.
struct TMessage {
    std::uint32_t Msg = 0;
    std::intptr_t WParam = 0;
    std::intptr_t LParam = 0;
    std::intptr_t Result = 0;
};

constexpr std::uint32_t WM_ACTIVATE = 0x0006;
constexpr std::uint32_t WM_CLOSE = 0x0010;
constexpr std::uint32_t WM_TIMER = 0x0113;  // 275
constexpr std::uint32_t WM_MOUSEMOVE = 0x0200;
constexpr std::uint32_t WM_LBUTTONDOWN = 0x0201;
constexpr std::uint32_t WM_LBUTTONUP = 0x0202;
constexpr std::uint32_t WM_LBUTTONDBLCLK = 0x0203;
constexpr std::uint32_t WM_QUERYNEWPALETTE = 0x030F;
constexpr std::uint32_t WM_USER = 0x0400;
constexpr std::uint32_t CM_BASE = 0xB000;
constexpr std::uint32_t CM_MOUSEENTER = CM_BASE + 19;  // 0xB013
constexpr std::uint32_t CM_MOUSELEAVE = CM_BASE + 20;  // 0xB014

// WM_ACTIVATE's WParam.
constexpr std::intptr_t WA_INACTIVE = 0;
constexpr std::intptr_t WA_ACTIVE = 1;
constexpr std::intptr_t WA_CLICKACTIVE = 2;

// Events are callbacks bound to an object; an empty one is unassigned.
using TNotifyEvent = std::function<void(TObject* Sender)>;

enum class TAlign : std::uint8_t { alNone, alTop, alBottom, alLeft, alRight, alClient };
using enum TAlign;

enum TAnchorKind : std::uint8_t { akLeft = 1, akTop = 2, akRight = 4, akBottom = 8 };
using TAnchors = std::uint8_t;  // a set of TAnchorKind bits
constexpr TAnchors AnchorsLeftTop = akLeft | akTop;
constexpr TAnchors AnchorsAll = akLeft | akTop | akRight | akBottom;

enum class TAlignment : std::uint8_t { taLeftJustify, taRightJustify, taCenter };
using enum TAlignment;

enum class TMouseButton : std::uint8_t { mbLeft, mbRight, mbMiddle };
using enum TMouseButton;

enum TShiftStateBit : std::uint16_t {
    ssShift = 1,
    ssAlt = 2,
    ssCtrl = 4,
    ssLeft = 8,
    ssRight = 16,
    ssMiddle = 32,
    ssDouble = 64
};
using TShiftState = std::uint16_t;

using TMouseEvent =
    std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;

using TStrings = std::vector<std::string>;

}  // namespace kx
