#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/control.h"
#include "platform/graphics.h"

namespace kx {

class TClassRegistry;
class TMainMenu;
class TMenuItem;
class TPopupForm;
class TRadioPanel;

// The kind of a circle; its ordinal is also the Tag of the circle's popup.
enum class THighlightType : std::uint8_t { htOptions = 0, htSettings = 1, htCalibration = 2 };
using enum THighlightType;

// A hot region over the board photograph, drawn as a soft coloured ring: it
// lights up and opens its popup when the pointer enters it, closes the popup
// when the pointer leaves unless a click pinned it, and draws itself stronger
// while its popup is the active window. Circles under one board image with
// equal Title and HighlightType form a linked group that lights up together
// and shares one popup, one panel and one menu entry.
class TBoardHighlight : public TGraphicControl {
public:
    KX_CLASS(TBoardHighlight)

    explicit TBoardHighlight(TComponent* AOwner);
    ~TBoardHighlight() override;

    bool CreatePopup() const { return m_createPopup; }
    void SetCreatePopup(bool v) { m_createPopup = v; }
    THighlightType HighlightType() const { return m_highlightType; }
    void SetHighlightType(THighlightType t);
    // Not owned; cleared when the panel goes. Refused when another circle
    // outside the linked group already uses the panel.
    TRadioPanel* RadioPanel() const { return m_radioPanel; }
    void SetRadioPanel(TRadioPanel* panel);
    const std::string& Title() const { return m_title; }
    void SetTitle(const std::string& title);

    const std::string& PlainTitle() const { return m_plainTitle; }
    const std::string& TitleIdent() const { return m_titleIdent; }
    TColor RingColor() const { return m_ringColor; }
    float IdleStrength() const { return m_idleStrength; }
    float LitStrength() const { return m_litStrength; }
    float ActiveStrength() const { return m_activeStrength; }
    bool Lit() const { return m_lit; }
    bool Pinned() const { return m_pinned; }
    void SetPinned(bool v) { m_pinned = v; }
    bool PopupActive() const { return m_popupActive; }
    bool Rendered() const { return m_rendered; }
    // The popup this circle built (owned by it), or none.
    TPopupForm* Popup() const { return m_popup; }
    // The main menu taken from the board image at the first paint, or none.
    TMainMenu* BoardMenu() const { return m_boardMenu; }
    const TBitmap& IdleImage() const { return *m_idleImage; }
    const TBitmap& LitImage() const { return *m_litImage; }
    const TBitmap& ActiveImage() const { return *m_activeImage; }

    void Paint() override;
    // The platform's click, then Pin.
    void Click() override;
    void WndProc(TMessage& message) override;

    // Pins the group's popup, checks its menu entry and activates it.
    void Pin();
    void PinAndFocus();
    void SetPopupActive(bool Value, bool PassOn);
    void Unlight();

    // Renders the three looks from what lies under the circle now.
    void RenderImages();

    // Popups (built by the first circle of a group to be entered).
    void ShowPopup();

    // Menus: the entry of the circle's linked group in its type's menu.
    void AddMenuEntry();
    void SetMenuCheck(bool Value);
    void MenuItemClick(TObject* Sender);
    // The entry of the circle's title in its type's menu, or nullptr.
    TMenuItem* MenuEntry() const;

    // Accessibility: a linked group stands on the bus as one button, the
    // circle that speaks for it, named by the plain title and described by
    // the panel's text; checked while the group's popup is pinned open.
    // Its action does what a click does.
    TAccessibleRole AccessibleRole() const override { return arButton; }
    bool AccessibleExposed() const override;
    std::string AccessibleName() const override;
    std::string AccessibleDescription() const override;
    TAccessibleState AccessibleState() const override;
    bool HasAccessibleAction() const override { return true; }
    void DoAccessibleAction() override;

    // The circle that speaks for the linked group: of those linked, the one
    // the board description created first (this one without a group).
    TBoardHighlight* GroupLeader();
    const TBoardHighlight* GroupLeader() const;
    // The popup of the linked group, whichever circle built it, or none.
    TPopupForm* GroupPopup() const;
    // Where the group's entry stands in its type menu, or -1 without one.
    int MenuIndex() const;
    // Opens and pins the group's popup as the pointer coming in and a click
    // do; for the keyboard and screen readers. A disabled circle is not
    // pinned, as it takes no click.
    void Activate();
    // Tells a screen reader that the group's pinned state may have changed.
    void NotifyGroupState();

    // Whether other is linked to this circle (this one included).
    bool IsLinkedTo(const TBoardHighlight* other) const;
    // Runs f on every linked circle, in child order, the circle itself
    // included; the count is taken when the walk starts.
    void ForEachLinked(const std::function<void(TBoardHighlight*)>& f);

protected:
    void Notification(TComponent* comp, TOperation op) override;

private:
    friend class TPopupForm;
    void MouseEnterHandler(std::intptr_t p);
    void MouseLeaveHandler(std::intptr_t p);
    void FirstPaintSetup();
    void ApplyTypeSettings();
    // The board's keyboard focus mark, over every circle of the marked group.
    void PaintFocusMarkIfFocused();

    std::unique_ptr<TBitmap> m_idleImage;
    std::unique_ptr<TBitmap> m_activeImage;
    std::unique_ptr<TBitmap> m_litImage;
    float m_idleStrength = 0.5f;
    float m_activeStrength = 1.0f;
    float m_litStrength = 0.75f;
    TColor m_ringColor = clYellow;
    THighlightType m_highlightType = htSettings;
    bool m_lit = false;
    TPopupForm* m_popup = nullptr;
    std::string m_title;
    std::string m_plainTitle;
    std::string m_titleIdent;
    TMainMenu* m_boardMenu = nullptr;
    bool m_rendered = false;
    bool m_createPopup = true;
    bool m_pinned = false;
    TRadioPanel* m_radioPanel = nullptr;
    bool m_popupActive = false;
    // Menu entries call back into the circle only while it lives.
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};

// Blends the soft ring of the given strength and colour into image, in place.
// The ring is the ellipse inscribed in the image; whiteCore draws the
// strongest look with its white line.
void BlendRing(TBitmap& image, float strength, TColor ringColor, bool whiteCore);

// "&USB Connector" -> "USB Connector"; every '&' goes, doubled ones too.
std::string StripAmpersands(const std::string& s);
// The string reduced to an identifier: "&USB Connector" -> "USBConnector".
std::string MakeIdentifier(const std::string& s);
// "&Settings", "&Calibration" or "&Options".
std::string TypeMenuCaption(THighlightType type);

void RegisterBoardHighlightClass(TClassRegistry& registry);

}  // namespace kx
