#include "platform/label.h"

#include <QFontMetrics>

#include "platform/std_controls.h"
#include "platform/win_control.h"

namespace kx {

TLabel::TLabel(TComponent* AOwner) : TGraphicControl(AOwner) {
    m_width = 65;
    m_height = 17;
    m_autoSize = true;
    m_parentColor = true;
}

void TLabel::SetAlignment(TAlignment a) {
    if (a == m_alignment) {
        return;
    }
    m_alignment = a;
    Invalidate();
}

void TLabel::SetWordWrap(bool v) {
    if (v == m_wordWrap) {
        return;
    }
    m_wordWrap = v;
    AdjustBounds();
    Invalidate();
}

void TLabel::SetTransparent(bool v) {
    if (v == m_transparent) {
        return;
    }
    m_transparent = v;
    Invalidate();
}

void TLabel::SetAutoSize(bool v) {
    if (v == m_autoSize) {
        return;
    }
    m_autoSize = v;
    AdjustBounds();
}

std::string TLabel::DisplayText() const {
    return StripAccelerators(m_caption);
}

void TLabel::AdjustBounds() {
    if (!m_autoSize || InState(csLoading)) {
        return;
    }
    const QFontMetrics fm(m_font.ToQFont());
    const QString text = QString::fromStdString(DisplayText());
    int w = m_width;
    int h = m_height;
    if (m_wordWrap || m_align == alTop || m_align == alBottom || m_align == alClient) {
        const QRect r =
            fm.boundingRect(QRect(0, 0, std::max(m_width, 1), 100000), Qt::TextWordWrap | Qt::AlignLeft,
                            text.isEmpty() ? QString(" ") : text);
        h = r.height();
    } else {
        w = fm.horizontalAdvance(text);
        h = fm.height();
    }
    int left = m_left;
    if (m_align == alNone) {
        if (m_alignment == taRightJustify) {
            left = m_left + m_width - w;
        } else if (m_alignment == taCenter) {
            left = m_left + (m_width - w) / 2;
        }
    }
    SetBounds(left, m_top, w, h);
}

void TLabel::Loaded() {
    TGraphicControl::Loaded();
    // Sizing waits while a description is read, so that the caption, the
    // font and the alignment are all known when it happens.
    AdjustBounds();
}

void TLabel::CaptionChanged() {
    AdjustBounds();
    Invalidate();
    AccessibleNotify(acNameChanged);
}

void TLabel::FontChanged() {
    AdjustBounds();
    Invalidate();
}

void TLabel::Paint() {
    TCanvas& c = Canvas();
    const TRect r = ClientRect();
    if (!m_transparent) {
        c.Brush().Color = m_color;
        c.FillRect(r);
    }
    c.Font().Assign(m_font);
    if (!m_enabled) {
        // A disabled label reads as unavailable, like the text of a disabled
        // button.
        c.Font().SetColor(clGrayText);
    }
    c.TextRect(r, DisplayText(), m_alignment, m_wordWrap);
}

}  // namespace kx
