#pragma once

#include <memory>
#include <string>
#include <vector>

#include <QImage>
#include <QPointer>
#include <QWidget>

#include "platform/canvas.h"
#include "platform/component.h"
#include "platform/font.h"
#include "platform/types.h"

class QAccessibleInterface;

namespace kx {

class TWinControl;

// Packs client coordinates into a mouse message's LParam (16 bits each, signed).
std::intptr_t PackPoint(int x, int y);

// What a control is to assistive technology (screen readers). arNone keeps a
// control off the accessibility bus; windowed controls are shown there by
// their Qt widgets whatever they say here.
enum class TAccessibleRole : std::uint8_t { arNone, arStaticText, arButton, arGraphic };
using enum TAccessibleRole;

struct TAccessibleState {
    bool Focusable = false;
    bool Focused = false;
    bool Checkable = false;
    bool Checked = false;
    bool Pressed = false;
};

// The changes a screen reader is told about.
enum class TAccessibleChange : std::uint8_t {
    acNameChanged,
    acDescriptionChanged,
    acStateChanged,
    acFocus,
    acValueChanged,
    acShow,
    acHide
};
using enum TAccessibleChange;

struct TSizeConstraints {
    int MinWidth = 0;
    int MinHeight = 0;
    int MaxWidth = 0;  // 0: no limit
    int MaxHeight = 0;
    friend bool operator==(const TSizeConstraints&, const TSizeConstraints&) = default;
};

// A control: something with bounds in its parent's client area that can be
// shown, painted and clicked. Messages go to WndProc; Perform delivers one
// synchronously.
class TControl : public TComponent {
public:
    KX_CLASS(TControl)

    explicit TControl(TComponent* AOwner);
    ~TControl() override;

    TWinControl* Parent() const { return m_parent; }
    virtual void SetParent(TWinControl* parent);

    int Left() const { return m_left; }
    int Top() const { return m_top; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    void SetLeft(int v) { SetBounds(v, m_top, m_width, m_height); }
    void SetTop(int v) { SetBounds(m_left, v, m_width, m_height); }
    void SetWidth(int v) { SetBounds(m_left, m_top, v, m_height); }
    void SetHeight(int v) { SetBounds(m_left, m_top, m_width, v); }
    TRect BoundsRect() const { return Bounds(m_left, m_top, m_width, m_height); }
    virtual void SetBounds(int left, int top, int width, int height);
    virtual int ClientWidth() const { return m_width; }
    virtual int ClientHeight() const { return m_height; }
    void SetClientWidth(int w) { SetClientSize(w, ClientHeight()); }
    void SetClientHeight(int h) { SetClientSize(ClientWidth(), h); }
    virtual void SetClientSize(int w, int h);
    TRect ClientRect() const { return {0, 0, ClientWidth(), ClientHeight()}; }
    // Screen position of the client area's top-left corner.
    virtual TPoint ClientOrigin() const;
    TPoint ClientToScreen(TPoint p) const;
    TPoint ScreenToClient(TPoint p) const;

    bool Visible() const { return m_visible; }
    virtual void SetVisible(bool v);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // Visible, and every parent up to the window visible too.
    virtual bool Showing() const;
    bool Enabled() const { return m_enabled; }
    virtual void SetEnabled(bool v);

    TAlign Align() const { return m_align; }
    void SetAlign(TAlign a);
    TAnchors Anchors() const { return m_anchors; }
    void SetAnchors(TAnchors a);
    const TSizeConstraints& Constraints() const { return m_constraints; }
    virtual void SetConstraints(const TSizeConstraints& c);
    bool AutoSize() const { return m_autoSize; }
    virtual void SetAutoSize(bool v);

    TColor Color() const { return m_color; }
    virtual void SetColor(TColor c);
    bool ParentColor() const { return m_parentColor; }
    void SetParentColor(bool v);
    TFont& Font() { return m_font; }
    const TFont& Font() const { return m_font; }
    void SetFont(const TFont& f) { m_font.Assign(f); }
    bool ParentFont() const { return m_parentFont; }
    void SetParentFont(bool v);

    const std::string& Caption() const { return m_caption; }
    virtual void SetCaption(const std::string& c);
    const std::string& Hint() const { return m_hint; }
    void SetHint(const std::string& h) { m_hint = h; }
    bool ShowHint() const { return m_showHint; }
    void SetShowHint(bool v) {
        m_showHint = v;
        m_parentShowHint = false;
    }
    bool ParentShowHint() const { return m_parentShowHint; }
    void SetParentShowHint(bool v) { m_parentShowHint = v; }
    int Cursor() const { return m_cursor; }
    void SetCursor(int c) { m_cursor = c; }
    int HelpContext() const { return m_helpContext; }
    void SetHelpContext(int v) { m_helpContext = v; }

    // Delivers a message synchronously and returns its result.
    std::intptr_t Perform(std::uint32_t msg, std::intptr_t wParam = 0, std::intptr_t lParam = 0);
    virtual void WndProc(TMessage& message);

    // Asks for a repaint of the control's area (later); Repaint paints now.
    virtual void Invalidate();
    virtual void Repaint();
    void BringToFront();
    void SendToBack();

    // Raises OnClick; controls with their own click behaviour replace it.
    virtual void Click();
    virtual void DblClick();

    // True while the left button went down on this control and has not been
    // released yet.
    bool MouseCapture() const;

    // Offered by the size negotiation of auto-sizing controls.
    virtual bool CanAutoSize(int& newWidth, int& newHeight) { return true; }

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TNotifyEvent OnResize;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;

    // Accessibility. A windowless control whose role is not arNone becomes an
    // accessible child of its windowed parent; components only say what they
    // are through these, the platform layer does the rest.
    virtual TAccessibleRole AccessibleRole() const { return arNone; }
    // Whether the control stands for itself on the bus (a member of a group
    // that one control speaks for does not).
    virtual bool AccessibleExposed() const { return AccessibleRole() != arNone && m_visible; }
    // The set name, or else the caption without its accelerator marks.
    virtual std::string AccessibleName() const;
    void SetAccessibleName(const std::string& name);
    // The set description, or else the hint.
    virtual std::string AccessibleDescription() const;
    void SetAccessibleDescription(const std::string& description);
    virtual TAccessibleState AccessibleState() const { return {}; }
    // Where the control is for the screen reader, in its parent's client
    // coordinates.
    virtual TRect AccessibleBounds() const { return BoundsRect(); }
    // The control's one action (what a click does), or none.
    virtual bool HasAccessibleAction() const { return false; }
    virtual void DoAccessibleAction() {}
    // Tells a listening screen reader that something changed.
    void AccessibleNotify(TAccessibleChange change);

    // Called when the parent's font or colour changed (for ParentFont and
    // ParentColor).
    virtual void ParentFontChanged();
    virtual void ParentColorChanged();

protected:
    friend class TWinControl;
    friend class TApplication;

    // Where this control's Qt widget lives (windowed controls) and where its
    // pixels go (windowless ones).
    virtual void BoundsChanged(const TRect& oldBounds) {}
    virtual void VisibleChanged() {}
    virtual void EnabledChanged() {}
    virtual void FontChanged() {}
    virtual void ColorChanged() {}
    virtual void CaptionChanged() {}
    virtual void ParentChanged() {}

    // Message handlers the base class provides.
    virtual void MouseEnter(TMessage& message);
    virtual void MouseLeave(TMessage& message);
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);

    // Anchors: remembers the control's place relative to its parent's current
    // size, for keeping it when the parent is resized.
    void UpdateAnchorRules();
    // Applies the anchors for a parent of the given client size.
    void AnchorTo(int parentWidth, int parentHeight);
    bool m_anchoring = false;

    TWinControl* m_parent = nullptr;
    int m_left = 0;
    int m_top = 0;
    int m_width = 0;
    int m_height = 0;
    bool m_visible = true;
    bool m_enabled = true;
    TAlign m_align = alNone;
    TAnchors m_anchors = AnchorsLeftTop;
    TSizeConstraints m_constraints;
    bool m_autoSize = false;
    TColor m_color = clBtnFace;
    bool m_parentColor = false;
    TFont m_font;
    bool m_parentFont = true;
    bool m_fontFromParent = false;
    std::string m_caption;
    std::string m_hint;
    bool m_showHint = false;
    bool m_parentShowHint = true;
    int m_cursor = 0;
    int m_helpContext = 0;
    bool m_clicked = false;
    std::string m_accessibleName;
    std::string m_accessibleDescription;
    // The id of the control's accessible interface once a screen reader asked
    // for it (windowless controls only); released with the control.
    unsigned m_accessibleId = 0;
    friend QAccessibleInterface* AccessibleOf(TControl* control);
    friend void ReleaseAccessible(TControl* control);
    TPoint m_anchorRules;         // left/right or centre, top/bottom or centre
    TPoint m_originalParentSize;  // the parent's client size when the rules were taken
};

// A control without a window: it paints into its parent's back buffer, inside
// its bounds, after the parent has painted itself, in child order.
class TGraphicControl : public TControl {
public:
    KX_CLASS(TGraphicControl)

    explicit TGraphicControl(TComponent* AOwner);
    ~TGraphicControl() override;

    // Valid while Paint runs: the parent's back buffer, with (0, 0) at the
    // control's top-left corner and clipped to the control.
    TCanvas& Canvas() { return m_canvas; }

    void Invalidate() override;
    void Repaint() override;

    // Paints the control through Canvas.
    virtual void Paint() {}

protected:
    void BoundsChanged(const TRect& oldBounds) override;
    void VisibleChanged() override;

private:
    friend class TWinControl;
    friend class TCustomControl;
    TCanvas m_canvas;
};

}  // namespace kx
