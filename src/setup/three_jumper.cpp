#include "setup/three_jumper.h"

#include <algorithm>
#include <cmath>

#include "platform/canvas.h"
#include "platform/description_props.h"
#include "setup/radio_panel.h"

namespace kx {

namespace {

// The drawing is always composed as a horizontal row of pins; the two turned
// orientations stand it upright.
bool Upright(TOrientationType o) {
    return o == otLeft || o == otRight;
}

// Nearest integer with halves going to the even neighbour, which is what the
// default floating-point rounding mode gives.
int RoundEven(double value) {
    return static_cast<int>(std::nearbyint(value));
}

}  // namespace

TThreeJumper::TThreeJumper(TComponent* AOwner)
    : TGraphicControl(AOwner),
      m_showBitmap(std::make_unique<TBitmap>()),
      m_drawBitmap(std::make_unique<TBitmap>()) {
    m_width = 43;
    m_height = 18;
}

TThreeJumper::~TThreeJumper() {
    Destroying();
}

void TThreeJumper::SetJumperState(TJumperState s) {
    if (s == m_jumperState) {
        return;
    }
    // A refused open position is dropped without notice; the cap stays put.
    if (s == jsOpen && !m_allowOpen) {
        return;
    }
    m_jumperState = s;
    Invalidate();
    AccessibleNotify(acDescriptionChanged);
}

void TThreeJumper::SetBaseColor(TColor c) {
    if (c == m_baseColor) {
        return;
    }
    m_baseColor = c;
    Invalidate();
}

void TThreeJumper::SetPinColor(TColor c) {
    if (c == m_pinColor) {
        return;
    }
    m_pinColor = c;
    Invalidate();
}

void TThreeJumper::SetJumperColor(TColor c) {
    if (c == m_jumperColor) {
        return;
    }
    m_jumperColor = c;
    Invalidate();
}

void TThreeJumper::SetOrientation(TOrientationType o) {
    if (o == m_orientation) {
        return;
    }
    // Only a paint clears the mark, so turning to the other axis and back
    // before the next paint still exchanges the sides once it comes.
    if (Upright(o) != Upright(m_orientation)) {
        m_swapPending = true;
    }
    m_orientation = o;
    Invalidate();
}

void TThreeJumper::SetBorderStyle(TBorderStyle s) {
    if (s == m_borderStyle) {
        return;
    }
    m_borderStyle = s;
    Invalidate();
}

void TThreeJumper::SetAllowOpen(bool v) {
    if (v == m_allowOpen) {
        return;
    }
    m_allowOpen = v;
    if (!m_allowOpen && m_jumperState == jsOpen) {
        SetJumperState(jsLeft);
    }
    Invalidate();
}

TJumperState TThreeJumper::NextState() const {
    switch (m_jumperState) {
        case jsOpen:
            return jsLeft;
        case jsLeft:
            return jsRight;
        case jsRight:
            return m_allowOpen ? jsOpen : jsLeft;
    }
    return jsLeft;
}

void TThreeJumper::Click() {
    // The cap moves first, so that an OnClick handler already sees the new
    // position.
    SetJumperState(NextState());
    TGraphicControl::Click();
}

void TThreeJumper::Paint() {
    ComposeDrawing();
    TurnDrawing();
    if (m_swapPending) {
        m_swapPending = false;
        // Before the first paint the size the control was given already fits
        // the orientation; afterwards the outline turns with the drawing.
        if (m_painted) {
            const int oldWidth = m_width;
            const int oldHeight = m_height;
            SetWidth(oldHeight);
            SetHeight(oldWidth);
        }
    }
    // One block copy, so the jumper never shows half drawn.
    Canvas().CopyFrom(0, 0, m_width, m_height, m_showBitmap->Canvas(), 0, 0);
    m_painted = true;
}

TColor TThreeJumper::BackgroundColor() const {
    // Only a radio panel lends its colour: the jumper is meant to blend into
    // the panel that explains it, and anywhere else it keeps the button face.
    if (IsExactly<TRadioPanel>(Parent())) {
        return Parent()->Color();
    }
    return clBtnFace;
}

void TThreeJumper::ComposeDrawing() {
    // The drawing is composed at the device resolution of the surface it goes to: every measure
    // stays logical and the canvas scales the shapes, so the jumper is as sharp as the screen.
    m_drawBitmap->SetPixelRatio(Canvas().HasSurface() ? Canvas().Ratio() : 1.0);
    if (Upright(m_orientation)) {
        m_drawBitmap->SetSize(m_height, m_width);
    } else {
        m_drawBitmap->SetSize(m_width, m_height);
    }
    const int W = m_drawBitmap->Width();
    const int H = m_drawBitmap->Height();
    TCanvas& c = m_drawBitmap->Canvas();
    const TPen savedPen = c.Pen();
    const TBrush savedBrush = c.Brush();

    const TColor background = BackgroundColor();
    c.Pen().Color = background;
    c.Brush().Color = background;
    c.Rectangle(0, 0, W, H);

    const int P = RoundEven((W - 2) / 4.5);
    const int pins[3] = {P + 1, W / 2, W - (P + 1)};
    const int Yc = H / 2;
    const int R = std::min(P / 3, RoundEven((H - 2) / 4.0));
    const int C = (W / 2 - P + 1) / 2;

    c.Pen().Color = m_borderStyle == bsSingle ? clBlack : m_baseColor;
    c.Brush().Color = m_baseColor;
    c.RoundRect(1, 1, W - 1, H - 1, H / 2, H / 2);

    c.Pen().Color = clBlack;
    c.Brush().Color = m_jumperColor;
    if (m_jumperState == jsLeft) {
        c.Rectangle(0, 0, W / 2 + C, H);
    } else if (m_jumperState == jsRight) {
        c.Rectangle(W / 2 - C, 0, W, H);
    }

    c.Pen().Style = psClear;
    c.Brush().Color = m_pinColor;
    for (const int x : pins) {
        c.Ellipse(x - R, Yc - R, x + R, Yc + R);
    }

    c.Pen() = savedPen;
    c.Brush() = savedBrush;
}

void TThreeJumper::TurnDrawing() {
    const QImage& from = m_drawBitmap->Image();
    // W and H count device pixels; the turn works on them one by one.
    const int W = from.width();
    const int H = from.height();
    m_showBitmap->SetPixelRatio(m_drawBitmap->PixelRatio());
    if (Upright(m_orientation)) {
        m_showBitmap->SetSize(m_drawBitmap->Height(), m_drawBitmap->Width());
    } else {
        m_showBitmap->SetSize(m_drawBitmap->Width(), m_drawBitmap->Height());
    }
    QImage& to = m_showBitmap->MutableImage();
    for (int y = 0; y < H; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(from.constScanLine(y));
        for (int x = 0; x < W; ++x) {
            int tx = x;
            int ty = y;
            switch (m_orientation) {
                case otUp:
                    break;
                case otDown:
                    tx = W - 1 - x;
                    ty = H - 1 - y;
                    break;
                case otLeft:
                    tx = y;
                    ty = W - 1 - x;
                    break;
                case otRight:
                    tx = H - 1 - y;
                    ty = x;
                    break;
            }
            reinterpret_cast<QRgb*>(to.scanLine(ty))[tx] = row[x];
        }
    }
}

void RegisterThreeJumperClass(TClassRegistry& r) {
    using namespace props;
    TClassInfo& c = r.Register("TThreeJumper", "TControl", [](TComponent* o) { return new TThreeJumper(o); });
    c.Properties["JumperState"] =
        Enum<TThreeJumper, TJumperState>({{"jsOpen", jsOpen}, {"jsLeft", jsLeft}, {"jsRight", jsRight}},
                                         [](TThreeJumper& t, TJumperState v) { t.SetJumperState(v); });
    c.Properties["BaseColor"] = Color<TThreeJumper>([](TThreeJumper& t, TColor v) { t.SetBaseColor(v); });
    c.Properties["PinColor"] = Color<TThreeJumper>([](TThreeJumper& t, TColor v) { t.SetPinColor(v); });
    c.Properties["JumperColor"] = Color<TThreeJumper>([](TThreeJumper& t, TColor v) { t.SetJumperColor(v); });
    c.Properties["Orientation"] = Enum<TThreeJumper, TOrientationType>(
        {{"otUp", otUp}, {"otDown", otDown}, {"otLeft", otLeft}, {"otRight", otRight}},
        [](TThreeJumper& t, TOrientationType v) { t.SetOrientation(v); });
    c.Properties["BorderStyle"] =
        Enum<TThreeJumper, TBorderStyle>({{"bsNone", bsNone}, {"bsSingle", bsSingle}},
                                         [](TThreeJumper& t, TBorderStyle v) { t.SetBorderStyle(v); });
    c.Properties["AllowOpen"] = Bool<TThreeJumper>([](TThreeJumper& t, bool v) { t.SetAllowOpen(v); });
}

}  // namespace kx
