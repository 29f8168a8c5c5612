#pragma once

#include <string>

#include "platform/control.h"

namespace kx {

// Text drawn on the parent's surface, in the label's font (its parent's
// unless set), aligned left, right or centred inside the label's bounds.
class TLabel : public TGraphicControl {
public:
    KX_CLASS(TLabel)

    explicit TLabel(TComponent* AOwner);

    TAlignment Alignment() const { return m_alignment; }
    void SetAlignment(TAlignment a);
    bool WordWrap() const { return m_wordWrap; }
    void SetWordWrap(bool v);
    bool Transparent() const { return m_transparent; }
    void SetTransparent(bool v);
    void SetAutoSize(bool v) override;

    void Paint() override;
    void Loaded() override;

    // A label is static text named by its caption.
    TAccessibleRole AccessibleRole() const override { return arStaticText; }

    // Resizes to the text when AutoSize is on. The edge the text is aligned
    // to stays where it is: the left edge, the right edge, or the centre.
    void AdjustBounds();

protected:
    void CaptionChanged() override;
    void FontChanged() override;
    void ColorChanged() override { Invalidate(); }
    void EnabledChanged() override { Invalidate(); }

private:
    std::string DisplayText() const;

    TAlignment m_alignment = taLeftJustify;
    bool m_wordWrap = false;
    bool m_transparent = false;
};

}  // namespace kx
