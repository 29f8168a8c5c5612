#include "platform/win_control.h"

namespace kx {

TCustomPanel::TCustomPanel(TComponent* AOwner) : TCustomControl(AOwner) {
    SetBounds(0, 0, 185, 41);
    m_color = clBtnFace;
}

void TCustomPanel::SetBevelInner(TBevelCut v) {
    if (v == m_bevelInner)
        return;
    m_bevelInner = v;
    Invalidate();
}

void TCustomPanel::SetBevelOuter(TBevelCut v) {
    if (v == m_bevelOuter)
        return;
    m_bevelOuter = v;
    Invalidate();
}

void TCustomPanel::SetBevelWidth(int v) {
    if (v == m_bevelWidth)
        return;
    m_bevelWidth = v;
    Invalidate();
}

void TCustomPanel::SetBorderWidth(int v) {
    if (v == m_borderWidth)
        return;
    m_borderWidth = v;
    Invalidate();
}

void TCustomPanel::SetBorderStyle(TBorderStyle v) {
    if (v == m_borderStyle)
        return;
    m_borderStyle = v;
    Invalidate();
}

void TCustomPanel::SetAlignment(TAlignment a) {
    if (a == m_alignment)
        return;
    m_alignment = a;
    Invalidate();
}

void TCustomPanel::FontChanged() {
    TCustomControl::FontChanged();
    Invalidate();
}

void TCustomPanel::Paint() {
    TCanvas& c = m_canvas;
    TRect r = ClientRect();
    auto frame = [&](TBevelCut cut, int width) {
        if (cut == bvNone) {
            return;
        }
        const TColor topLeft = cut == bvLowered ? clBtnShadow : clBtnHighlight;
        const TColor bottomRight = cut == bvLowered ? clBtnHighlight : clBtnShadow;
        for (int i = 0; i < width && !r.IsEmpty(); ++i) {
            if (cut != bvSpace) {
                c.Brush().Color = topLeft;
                c.FillRect({r.Left, r.Top, r.Right, r.Top + 1});
                c.FillRect({r.Left, r.Top, r.Left + 1, r.Bottom});
                c.Brush().Color = bottomRight;
                c.FillRect({r.Left, r.Bottom - 1, r.Right, r.Bottom});
                c.FillRect({r.Right - 1, r.Top, r.Right, r.Bottom});
            }
            r = {r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
        }
    };
    if (m_borderStyle == bsSingle) {
        c.Brush().Color = clBlack;
        c.FillRect({r.Left, r.Top, r.Right, r.Top + 1});
        c.FillRect({r.Left, r.Top, r.Left + 1, r.Bottom});
        c.FillRect({r.Left, r.Bottom - 1, r.Right, r.Bottom});
        c.FillRect({r.Right - 1, r.Top, r.Right, r.Bottom});
        r = {r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
    }
    frame(m_bevelOuter, m_bevelWidth);
    r = {r.Left + m_borderWidth, r.Top + m_borderWidth, r.Right - m_borderWidth, r.Bottom - m_borderWidth};
    frame(m_bevelInner, m_bevelWidth);
    c.Brush().Color = m_color;
    c.FillRect(r);
    if (!m_caption.empty()) {
        c.Font().Assign(m_font);
        c.TextRect(r, m_caption, m_alignment, false, true);
    }
}

}  // namespace kx
