#pragma once

#include <memory>
#include <vector>

#include <QImage>
#include <QPointer>
#include <QWidget>

#include "platform/control.h"

namespace kx {

// A control with a window of its own, backed by a Qt widget. It holds child
// controls in child order: painting order, and for hit tests the last one is
// on top. Windowed children are Qt children of ClientWidget(); windowless ones
// exist only in this tree.
class TWinControl : public TControl {
public:
    KX_CLASS(TWinControl)

    explicit TWinControl(TComponent* AOwner);
    ~TWinControl() override;

    int ControlCount() const { return static_cast<int>(m_controls.size()); }
    TControl* Controls(int index) const { return m_controls.at(index); }
    int IndexOfControl(const TControl* c) const;
    void InsertControl(TControl* c);
    void RemoveControl(TControl* c);
    // Moves a child to a new index in the child order.
    void SetChildOrder(TControl* c, int index);

    // The topmost child under p (client coordinates), or nullptr.
    TControl* ControlAtPos(TPoint p, bool allowDisabled, bool allowWinControls = false,
                           bool recursive = false) const;

    // The widget that represents the control, and the one its children live in
    // (they differ only for forms, whose menu bar sits outside the client area).
    QWidget* Widget() const { return m_widget; }
    virtual QWidget* ClientWidget() const { return m_widget; }
    bool HandleAllocated() const { return m_widget != nullptr; }

    int TabOrder() const { return m_tabOrder; }
    void SetTabOrder(int order);
    bool TabStop() const { return m_tabStop; }
    void SetTabStop(bool v);
    bool Focused() const;
    bool CanFocus() const;
    virtual void SetFocus();
    // The children that take part in keyboard focus, in tab order.
    std::vector<TWinControl*> TabList() const;

    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;

    // The windowless children a screen reader sees, in the order it reads
    // them: by default those that stand on the bus, in child order. A control
    // whose child order changes as it paints gives a steadier order here.
    virtual std::vector<TControl*> AccessibleChildList() const;

    // Lays out aligned and anchored children for the current client size.
    void Realign();
    // The bounding box of the visible children, for fitting a window to them.
    TRect ChildrenBounds() const;

    void Invalidate() override;
    void Repaint() override;
    void ParentFontChanged() override;
    void ParentColorChanged() override;
    bool Showing() const override;

protected:
    // Derived classes create their widget in their constructor and hand it over
    // here; it is destroyed with the control.
    void SetWidget(QWidget* widget);
    void BoundsChanged(const TRect& oldBounds) override;
    void VisibleChanged() override;
    void EnabledChanged() override;
    void FontChanged() override;
    // Children that take their parent's colour follow it.
    void ColorChanged() override;
    void ParentChanged() override;
    void CaptionChanged() override;
    // Pushes the control's bounds to its widget.
    virtual void ApplyGeometry();
    // The widget's tab chain follows TabOrder.
    void UpdateTabChain();
    // Puts a child at a place in the focus order and renumbers the others.
    void PlaceInTabOrder(TWinControl* child, int order);
    // Called after the client size changed, before children are re-laid out.
    virtual void Resize();
    void AlignControls();
    void NotifyChildrenFontChanged();

    QPointer<QWidget> m_widget;
    std::vector<TControl*> m_controls;
    int m_tabOrder = -1;
    bool m_tabStop = false;
    bool m_aligning = false;
};

// A windowed control that paints itself: for each region Qt asks for, its
// Paint draws into a 32-bit buffer of that region's device pixels through
// Canvas, its windowless children paint into the same buffer after it, and the
// buffer is then drawn into Qt's backing store. The buffer lives only for the
// paint, so no second window-sized picture is kept beside Qt's.
class TCustomControl : public TWinControl {
public:
    KX_CLASS(TCustomControl)

    explicit TCustomControl(TComponent* AOwner);
    ~TCustomControl() override;

    // Valid while painting.
    TCanvas& Canvas() { return m_canvas; }

    // Paints into Canvas; the default fills the client area with Color.
    virtual void Paint();

    // Composes the control and its windowless children, as painting does, and
    // returns the device pixels of r (client coordinates) at the given ratio.
    // Tests and screenshots read the control through it.
    QImage Render(const TRect& r, double ratio = 1.0);
    // The whole client area at ratio 1.
    QImage Render();

    // Composes the region r (client coordinates) at the ratio into a new image.
    // The region grows to every windowless child it touches, whole, so that a
    // child that reads what lies under it finds all of it; covered receives the
    // region the image shows. The Qt paint event calls it.
    QImage PaintWindow(const TRect& r, double ratio, TRect& covered);

    // Opaque controls cover their whole area, so repaints need not clear.
    bool Opaque() const { return m_opaque; }
    void SetOpaque(bool v) { m_opaque = v; }

    // True while PaintWindow runs.
    bool Painting() const { return m_painting; }
    // True once the control has been painted on screen.
    bool PaintedOnce() const { return m_paintedOnce; }

    // Keyboard, for controls that draw targets of their own: a key (a Qt key
    // code) pressed while the control has the focus, true when handled; and
    // the focus coming and going, byKeyboard when Tab or Shift+Tab brought it.
    virtual bool KeyDown(int qtKey, TShiftState shift) { return false; }
    virtual void FocusChanged(bool focused, bool byKeyboard) {}

protected:
    // Paints the windowless children into the surface the control's canvas
    // draws on, over the area clip (client coordinates).
    void PaintControls(const TRect& clip);
    // The client area as Qt lays it out.
    TRect PaintArea() const;

    TCanvas m_canvas;
    bool m_opaque = false;
    bool m_painting = false;
    bool m_paintedOnce = false;
};

enum class TBevelCut : std::uint8_t { bvNone, bvLowered, bvRaised, bvSpace };
using enum TBevelCut;
enum class TBorderStyle : std::uint8_t { bsNone, bsSingle };
using enum TBorderStyle;

// A panel: background in Color, optional bevels and border, caption in the
// middle.
class TCustomPanel : public TCustomControl {
public:
    KX_CLASS(TCustomPanel)

    explicit TCustomPanel(TComponent* AOwner);

    TBevelCut BevelInner() const { return m_bevelInner; }
    void SetBevelInner(TBevelCut v);
    TBevelCut BevelOuter() const { return m_bevelOuter; }
    void SetBevelOuter(TBevelCut v);
    int BevelWidth() const { return m_bevelWidth; }
    void SetBevelWidth(int v);
    int BorderWidth() const { return m_borderWidth; }
    void SetBorderWidth(int v);
    TBorderStyle BorderStyle() const { return m_borderStyle; }
    void SetBorderStyle(TBorderStyle v);
    bool FullRepaint() const { return m_fullRepaint; }
    void SetFullRepaint(bool v) { m_fullRepaint = v; }
    TAlignment Alignment() const { return m_alignment; }
    void SetAlignment(TAlignment a);

    void Paint() override;

protected:
    void CaptionChanged() override { Invalidate(); }
    void FontChanged() override;

    TBevelCut m_bevelInner = bvNone;
    TBevelCut m_bevelOuter = bvRaised;
    int m_bevelWidth = 1;
    int m_borderWidth = 0;
    TBorderStyle m_borderStyle = bsNone;
    bool m_fullRepaint = true;
    TAlignment m_alignment = taCenter;
};

}  // namespace kx
