#pragma once

#include <string>

#include "platform/control.h"

namespace kx {

// Text drawn on the parent's surface.
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

    // Resizes to the text when AutoSize is on.
    void AdjustBounds();

protected:
    void CaptionChanged() override;
    void FontChanged() override;
    void ColorChanged() override { Invalidate(); }

private:
    std::string DisplayText() const;

    TAlignment m_alignment = taLeftJustify;
    bool m_wordWrap = false;
    bool m_transparent = false;
};

}  // namespace kx
