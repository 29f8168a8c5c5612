#pragma once

// Keeping text readable whatever colours the desktop chose: contrast as the
// accessibility guidelines measure it (relative luminance), the text colour
// that stays readable on a background, and the palettes of the Qt widgets
// behind our controls kept in step with the colours we paint around them.

#include <functional>

#include <QPalette>

#include "platform/types.h"

class QImage;
class QRect;
class QWidget;

namespace kx {

// The least contrast body text needs to be read comfortably.
constexpr double kMinTextContrast = 4.5;

// Relative luminance, 0 (black) to 1 (white), of a colour (system colours
// looked up).
double RelativeLuminance(TColor color);

// (L1 + 0.05) / (L2 + 0.05) of the lighter to the darker colour: 1 for equal
// colours, 21 for black on white.
double ContrastRatio(TColor a, TColor b);

// The colour to draw text of colour text on background with: text itself
// when it reads well there; otherwise the desktop's window text colour when
// that does; otherwise black or white, whichever reads better. Returns an RGB
// value, never a system colour.
TColor ReadableTextColor(TColor text, TColor background);

// The colour most of the area r of image shows (colours a few steps apart
// count as one), which is what text drawn there sits on. Black for an empty
// area.
TColor DominantColor(const QImage& image, const QRect& r);

// Gives a Qt widget the background colour we stand for (for its role
// backgroundRole) and, for textRole, the palette's own text colour if it
// reads well on that background or a readable one instead. Disabled text
// stays visibly dimmer than enabled text.
void SetWidgetColors(QWidget* widget, TColor background, QPalette::ColorRole backgroundRole,
                     QPalette::ColorRole textRole);

// Calls reapply whenever the desktop's palette changes (a new theme, a
// different colour scheme), for as long as widget lives.
void FollowPaletteChanges(QWidget* widget, std::function<void()> reapply);

}  // namespace kx
