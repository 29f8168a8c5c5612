#pragma once

#include "platform/form.h"

namespace kx {

class TBoardHighlight;
class TStatusBar;
class TMemo;
class TButton;

// The popup of a linked group of circles: a small stay-on-top tool window
// with the group's radio panel at the top, the panel's text in a memo below
// it, the buttons Previous, Next and Done, and an empty status bar. Built
// once by the first circle of the group to be entered; afterwards only shown
// and hidden.
class TPopupForm : public TForm {
public:
    KX_CLASS(TPopupForm)

    explicit TPopupForm(TComponent* AOwner);
    ~TPopupForm() override;

    TStatusBar* PopupStatus = nullptr;
    TMemo* StatusMemo = nullptr;
    TButton* PreviousButton = nullptr;
    TButton* NextButton = nullptr;
    TButton* DoneButton = nullptr;

    // The circle that built the popup (its owner).
    TBoardHighlight* Highlight() const { return m_highlight; }
    bool CloseOnLeave() const { return m_closeOnLeave; }
    void SetCloseOnLeave(bool v) { m_closeOnLeave = v; }
    // Set when the keyboard opened the popup: closing it gives the keyboard
    // focus back to its group on the board. A tour step hands it on to the
    // next popup.
    bool ReturnFocus() const { return m_returnFocus; }
    void SetReturnFocus(bool v) { m_returnFocus = v; }

    // The close handler: clears the menu check and unlights the group.
    void PopupClose(TObject* Sender, TCloseAction& Action);
    void DoneClick(TBoardHighlight* circle);
    void PreviousClick(TBoardHighlight* circle);
    void NextClick(TBoardHighlight* circle);

    // Builds the popup for circle (or shows it again); see
    // TBoardHighlight::ShowPopup.
    static void ShowFor(TBoardHighlight* circle);

    // Esc closes the popup as Done does.
    bool KeyPressed(int qtKey) override;

protected:
    void WndProc(TMessage& message) override;
    void Notification(TComponent* comp, TOperation op) override;

private:
    void Step(TBoardHighlight* circle, int direction);
    void Build(TBoardHighlight* circle);
    // The popup is announced by its title and text: the window and the
    // control that takes the focus carry them.
    void DescribeForScreenReaders(TWinControl* focusTarget);
    // After the popup closed: the board's focus mark back on the group, unless
    // another popup opened from the keyboard took over meanwhile.
    void GiveFocusBack();
    void HandReturnFocusOn(TBoardHighlight* circle, const std::string& title);

    TBoardHighlight* m_highlight = nullptr;
    bool m_closeOnLeave = false;
    bool m_returnFocus = false;
};

}  // namespace kx
