#include "platform/win_control.h"

#include <algorithm>

#include <QTimer>

#include "platform/application.h"
#include "platform/form.h"
#include "platform/qt_bridge.h"

namespace kx {

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) {}

TWinControl::~TWinControl() {
    Destroying();
    // Children go first, while our widget still exists to hold theirs.
    while (!m_controls.empty()) {
        TControl* c = m_controls.back();
        RemoveControl(c);
        delete c;
    }
    if (m_widget != nullptr) {
        if (auto* pw = dynamic_cast<KxPaintWidget*>(m_widget.data())) {
            pw->Detach();
        }
        LinkWidget(m_widget, nullptr);
        delete m_widget.data();
    }
}

void TWinControl::SetWidget(QWidget* widget) {
    m_widget = widget;
    LinkWidget(widget, this);
    widget->setFont(m_font.ToQFont());
    if (m_parent != nullptr && m_parent->ClientWidget() != nullptr) {
        widget->setParent(m_parent->ClientWidget());
    }
    ApplyGeometry();
    widget->setEnabled(m_enabled);
    widget->setVisible(m_visible && m_parent != nullptr);
}

int TWinControl::IndexOfControl(const TControl* c) const {
    auto it = std::find(m_controls.begin(), m_controls.end(), c);
    return it == m_controls.end() ? -1 : static_cast<int>(it - m_controls.begin());
}

void TWinControl::InsertControl(TControl* c) {
    if (IndexOfControl(c) >= 0) {
        return;
    }
    m_controls.push_back(c);
    if (auto* wc = dynamic_cast<TWinControl*>(c)) {
        // A tab order given before the control had a parent takes effect
        // now; without one the control comes last.
        PlaceInTabOrder(wc, wc->m_tabOrder >= 0 ? wc->m_tabOrder : ControlCount());
    }
}

void TWinControl::PlaceInTabOrder(TWinControl* child, int order) {
    // The child takes that place in the focus order and the others close up
    // behind it, so the numbers stay 0, 1, 2, ...
    std::vector<TWinControl*> list;
    for (TControl* c : m_controls) {
        if (auto* wc = dynamic_cast<TWinControl*>(c); wc != nullptr && wc != child) {
            list.push_back(wc);
        }
    }
    std::stable_sort(list.begin(), list.end(), [](const TWinControl* a, const TWinControl* b) {
        return a->m_tabOrder < b->m_tabOrder;
    });
    const int at = std::clamp(order, 0, static_cast<int>(list.size()));
    list.insert(list.begin() + at, child);
    for (std::size_t i = 0; i < list.size(); ++i) {
        list[i]->m_tabOrder = static_cast<int>(i);
    }
    UpdateTabChain();
}

void TWinControl::RemoveControl(TControl* c) {
    const int i = IndexOfControl(c);
    if (i < 0) {
        return;
    }
    m_controls.erase(m_controls.begin() + i);
    if (dynamic_cast<TGraphicControl*>(c) != nullptr && ClientWidget() != nullptr) {
        ClientWidget()->update(c->Left(), c->Top(), c->Width(), c->Height());
    }
}

void TWinControl::SetChildOrder(TControl* c, int index) {
    const int i = IndexOfControl(c);
    if (i < 0) {
        return;
    }
    index = std::clamp(index, 0, ControlCount() - 1);
    if (i == index) {
        return;
    }
    m_controls.erase(m_controls.begin() + i);
    m_controls.insert(m_controls.begin() + index, c);
    // Qt's stacking of the windowed children follows the child order.
    for (TControl* o : m_controls) {
        if (auto* wc = dynamic_cast<TWinControl*>(o); wc != nullptr && wc->m_widget != nullptr) {
            wc->m_widget->raise();
        }
    }
    c->Invalidate();
}

TControl* TWinControl::ControlAtPos(TPoint p, bool allowDisabled, bool allowWinControls,
                                    bool recursive) const {
    auto contains = [&](const TControl* c) { return c->Visible() && c->BoundsRect().Contains(p); };
    if (allowWinControls) {
        for (auto it = m_controls.rbegin(); it != m_controls.rend(); ++it) {
            auto* wc = dynamic_cast<TWinControl*>(*it);
            // A disabled window is transparent to the pointer, as on the
            // desktop: what lies under it counts.
            if (wc == nullptr || !contains(wc) || !wc->Enabled()) {
                continue;
            }
            if (recursive) {
                if (TControl* inner =
                        wc->ControlAtPos({p.X - wc->Left(), p.Y - wc->Top()}, allowDisabled, true, true)) {
                    return inner;
                }
            }
            return wc;
        }
    }
    for (auto it = m_controls.rbegin(); it != m_controls.rend(); ++it) {
        TControl* c = *it;
        if (dynamic_cast<TWinControl*>(c) != nullptr) {
            continue;
        }
        if (contains(c) && (allowDisabled || c->Enabled())) {
            return c;
        }
    }
    return nullptr;
}

void TWinControl::SetTabOrder(int order) {
    if (order == m_tabOrder) {
        return;
    }
    if (m_parent == nullptr) {
        m_tabOrder = order;
        return;
    }
    m_parent->PlaceInTabOrder(this, order);
}

void TWinControl::SetTabStop(bool v) {
    if (v == m_tabStop) {
        return;
    }
    m_tabStop = v;
}

bool TWinControl::Focused() const {
    return m_widget != nullptr && m_widget->hasFocus();
}

bool TWinControl::CanFocus() const {
    return Showing() && m_enabled;
}

void TWinControl::SetFocus() {
    if (m_widget == nullptr) {
        return;
    }
    if (TForm* form = GetParentForm(this)) {
        if (form != this) {
            form->SetActiveControl(this);
        }
        if (form->Widget() != nullptr && !form->Widget()->isActiveWindow()) {
            form->Widget()->activateWindow();
        }
    }
    m_widget->setFocus(Qt::OtherFocusReason);
}

std::vector<TWinControl*> TWinControl::TabList() const {
    std::vector<TWinControl*> list;
    for (TControl* c : m_controls) {
        if (auto* wc = dynamic_cast<TWinControl*>(c)) {
            list.push_back(wc);
        }
    }
    std::stable_sort(list.begin(), list.end(), [](const TWinControl* a, const TWinControl* b) {
        return a->m_tabOrder < b->m_tabOrder;
    });
    return list;
}

void TWinControl::UpdateTabChain() {
    // Qt keeps one tab chain per window; rebuild it from the top.
    TWinControl* top = this;
    while (top->m_parent != nullptr) {
        top = top->m_parent;
    }
    std::vector<QWidget*> chain;
    std::function<void(const TWinControl*)> walk = [&](const TWinControl* w) {
        for (TWinControl* c : w->TabList()) {
            if (c->m_widget != nullptr && c->m_widget->focusPolicy() != Qt::NoFocus) {
                chain.push_back(c->m_widget);
            }
            walk(c);
        }
    };
    walk(top);
    for (std::size_t i = 1; i < chain.size(); ++i) {
        if (chain[i - 1]->window() == chain[i]->window()) {
            QWidget::setTabOrder(chain[i - 1], chain[i]);
        }
    }
}

void TWinControl::Realign() {
    if (m_aligning) {
        return;
    }
    AlignControls();
}

void TWinControl::AlignControls() {
    m_aligning = true;
    TRect r = ClientRect();
    const TAlign order[] = {alTop, alBottom, alLeft, alRight, alClient};
    for (TAlign a : order) {
        for (TControl* c : m_controls) {
            if (c->Align() != a || !c->Visible()) {
                continue;
            }
            switch (a) {
                case alTop:
                    c->SetBounds(r.Left, r.Top, r.Width(), c->Height());
                    r.Top += c->Height();
                    break;
                case alBottom:
                    c->SetBounds(r.Left, r.Bottom - c->Height(), r.Width(), c->Height());
                    r.Bottom -= c->Height();
                    break;
                case alLeft:
                    c->SetBounds(r.Left, r.Top, c->Width(), r.Height());
                    r.Left += c->Width();
                    break;
                case alRight:
                    c->SetBounds(r.Right - c->Width(), r.Top, c->Width(), r.Height());
                    r.Right -= c->Width();
                    break;
                case alClient:
                    c->SetBounds(r.Left, r.Top, r.Width(), r.Height());
                    break;
                case alNone:
                    break;
            }
        }
    }
    const int cw = ClientWidth();
    const int ch = ClientHeight();
    for (TControl* c : m_controls) {
        if (c->Align() == alNone) {
            c->AnchorTo(cw, ch);
        }
    }
    m_aligning = false;
}

TRect TWinControl::ChildrenBounds() const {
    TRect box;
    bool any = false;
    for (TControl* c : m_controls) {
        if (!c->Visible()) {
            continue;
        }
        const TRect b = c->BoundsRect();
        if (!any) {
            box = b;
            any = true;
        } else {
            box.Left = std::min(box.Left, b.Left);
            box.Top = std::min(box.Top, b.Top);
            box.Right = std::max(box.Right, b.Right);
            box.Bottom = std::max(box.Bottom, b.Bottom);
        }
    }
    return box;
}

void TWinControl::Invalidate() {
    if (m_widget != nullptr) {
        m_widget->update();
    }
}

void TWinControl::Repaint() {
    if (m_widget != nullptr) {
        m_widget->repaint();
    }
}

void TWinControl::ParentFontChanged() {
    TControl::ParentFontChanged();
}

void TWinControl::ParentColorChanged() {
    TControl::ParentColorChanged();
}

bool TWinControl::Showing() const {
    if (m_widget != nullptr) {
        return m_widget->isVisible();
    }
    return TControl::Showing();
}

void TWinControl::BoundsChanged(const TRect& oldBounds) {
    ApplyGeometry();
    if (oldBounds.Width() != m_width || oldBounds.Height() != m_height) {
        Resize();
    }
}

void TWinControl::ApplyGeometry() {
    if (m_widget == nullptr) {
        return;
    }
    const QRect old = m_widget->geometry();
    m_widget->setGeometry(m_left, m_top, std::max(m_width, 0), std::max(m_height, 0));
    if (InsidePaint() && old != m_widget->geometry()) {
        // Qt drops what a widget invalidates while the window is being
        // painted; a control that moves itself while painting (the board
        // image re-centring) is shown anew right after.
        QPointer<QWidget> moved = m_widget;
        QPointer<QWidget> parent = m_widget->parentWidget();
        QTimer::singleShot(0, m_widget, [moved, parent, old] {
            if (parent != nullptr)
                parent->update(old);
            if (moved != nullptr)
                moved->update();
        });
    }
}

void TWinControl::Resize() {
    AlignControls();
}

void TWinControl::VisibleChanged() {
    if (m_widget != nullptr) {
        m_widget->setVisible(m_visible && m_parent != nullptr);
    }
}

void TWinControl::EnabledChanged() {
    if (m_widget != nullptr) {
        m_widget->setEnabled(m_enabled);
    }
}

void TWinControl::FontChanged() {
    if (m_widget != nullptr) {
        m_widget->setFont(m_font.ToQFont());
    }
    NotifyChildrenFontChanged();
}

void TWinControl::ColorChanged() {
    for (TControl* c : m_controls) {
        if (c->ParentColor()) {
            c->ParentColorChanged();
        }
    }
    Invalidate();
}

void TWinControl::NotifyChildrenFontChanged() {
    for (TControl* c : m_controls) {
        if (c->ParentFont()) {
            c->ParentFontChanged();
        }
    }
}

void TWinControl::ParentChanged() {
    if (m_widget == nullptr) {
        return;
    }
    if (m_parent != nullptr && m_parent->ClientWidget() != nullptr) {
        m_widget->setParent(m_parent->ClientWidget());
        ApplyGeometry();
        m_widget->setVisible(m_visible);
        m_parent->UpdateTabChain();
    } else {
        m_widget->hide();
        m_widget->setParent(nullptr);
    }
}

void TWinControl::CaptionChanged() {}

}  // namespace kx
