#pragma once

#include <memory>

#include "platform/graphics.h"
#include "platform/win_control.h"

namespace kx {

class TClassRegistry;

enum class TJumperState : std::uint8_t { jsOpen, jsLeft, jsRight };
using enum TJumperState;
enum class TOrientationType : std::uint8_t { otUp, otDown, otLeft, otRight };
using enum TOrientationType;

// A clickable drawing of a three-pin jumper header: a grey base with three
// pins and a cap over the first two pins, the last two, or none. Each click
// moves the cap on and then raises OnClick.
class TThreeJumper : public TGraphicControl {
public:
    KX_CLASS(TThreeJumper)

    explicit TThreeJumper(TComponent* AOwner);
    ~TThreeJumper() override;

    TJumperState JumperState() const { return m_jumperState; }
    void SetJumperState(TJumperState s);
    TColor BaseColor() const { return m_baseColor; }
    void SetBaseColor(TColor c);
    TColor PinColor() const { return m_pinColor; }
    void SetPinColor(TColor c);
    TColor JumperColor() const { return m_jumperColor; }
    void SetJumperColor(TColor c);
    TOrientationType Orientation() const { return m_orientation; }
    void SetOrientation(TOrientationType o);
    TBorderStyle BorderStyle() const { return m_borderStyle; }
    void SetBorderStyle(TBorderStyle s);
    bool AllowOpen() const { return m_allowOpen; }
    void SetAllowOpen(bool v);

    bool SwapPending() const { return m_swapPending; }
    bool Painted() const { return m_painted; }
    // The unturned drawing and the picture as shown, from the last paint.
    const TBitmap& DrawBitmap() const { return *m_drawBitmap; }
    const TBitmap& ShowBitmap() const { return *m_showBitmap; }

    void Click() override;
    void Paint() override;

    // Accessibility: a button whose action does what a click does. Unless a
    // name is set, it is named after the labels at its two ends ("VEXT/VUSB
    // jumper"), and its description says where the cap is, in the words of
    // those labels.
    TAccessibleRole AccessibleRole() const override { return arButton; }
    std::string AccessibleName() const override;
    std::string AccessibleDescription() const override;
    bool HasAccessibleAction() const override { return true; }
    void DoAccessibleAction() override;
    // The captions of the labels beside pin 1 and pin 3 (empty where none
    // stands near that end).
    std::string EndLabel(int pin) const;

private:
    // The state one click moves the cap to.
    TJumperState NextState() const;
    TColor BackgroundColor() const;
    // Draws the unturned picture into DrawBitmap.
    void ComposeDrawing();
    // Turns DrawBitmap into ShowBitmap for the orientation.
    void TurnDrawing();

    TOrientationType m_orientation = otUp;
    TJumperState m_jumperState = jsOpen;
    std::unique_ptr<TBitmap> m_showBitmap;
    std::unique_ptr<TBitmap> m_drawBitmap;
    bool m_swapPending = false;
    bool m_painted = false;
    TColor m_baseColor = clGray;
    TColor m_jumperColor = clMaroon;
    TColor m_pinColor = clYellow;
    TBorderStyle m_borderStyle = bsSingle;
    bool m_allowOpen = true;
};

void RegisterThreeJumperClass(TClassRegistry& registry);

}  // namespace kx
