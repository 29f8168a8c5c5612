#pragma once

#include <string>

#include "platform/win_control.h"

class QRadioButton;

namespace kx {

// A radio button (a Qt radio button). Checking one unchecks its siblings of
// the same parent first and then raises OnClick; unchecking raises nothing, and
// a click on a checked button does nothing. It fills its box with its Color
// and writes its caption in a colour that reads on it.
class TRadioButton : public TWinControl {
public:
    KX_CLASS(TRadioButton)

    explicit TRadioButton(TComponent* AOwner);

    bool Checked() const { return m_checked; }
    void SetChecked(bool v);
    TAlignment Alignment() const { return m_alignment; }
    // taRightJustify puts the caption right of the button, taLeftJustify
    // left of it.
    void SetAlignment(TAlignment a);

    QRadioButton* Radio() const;
    // What a click by the user does.
    void UserClicked();
    // The arrow keys: checks and focuses the previous (direction < 0) or next
    // radio button of the same parent, in the order they stand on screen
    // (top to bottom, then left to right), wrapping at both ends. Buttons that
    // are hidden or disabled are passed over.
    void SelectNeighbour(int direction);

protected:
    void CaptionChanged() override;
    void ColorChanged() override;

private:
    bool m_checked = false;
    TAlignment m_alignment = taRightJustify;
};

}  // namespace kx
