#include "platform/control.h"

#include <algorithm>
#include <cmath>

#include "platform/accessible.h"
#include "platform/application.h"
#include "platform/win_control.h"

namespace kx {

namespace {

// Windows' MulDiv: a * b / c rounded half away from zero.
int MulDiv(int a, int b, int c) {
    if (c == 0) {
        return 0;
    }
    const long long num = static_cast<long long>(a) * b;
    const long long half = std::llabs(static_cast<long long>(c)) / 2;
    if ((num < 0) != (c < 0)) {
        return static_cast<int>((num - (c < 0 ? -half : half)) / c);
    }
    return static_cast<int>((num + (c < 0 ? -half : half)) / c);
}

int LowSigned(std::intptr_t v) {
    return static_cast<std::int16_t>(v & 0xFFFF);
}
int HighSigned(std::intptr_t v) {
    return static_cast<std::int16_t>((v >> 16) & 0xFFFF);
}

}  // namespace

std::intptr_t PackPoint(int x, int y) {
    return static_cast<std::intptr_t>((static_cast<std::uint32_t>(x) & 0xFFFF) |
                                      ((static_cast<std::uint32_t>(y) & 0xFFFF) << 16));
}

TControl::TControl(TComponent* AOwner) : TComponent(AOwner) {
    m_font.OnChange = [this](TObject*) {
        if (!m_fontFromParent) {
            m_parentFont = false;
        }
        FontChanged();
    };
}

TControl::~TControl() {
    Destroying();
    ReleaseAccessible(this);
    if (Application != nullptr) {
        Application->ControlDestroyed(this);
    }
    if (m_parent != nullptr) {
        m_parent->RemoveControl(this);
        m_parent = nullptr;
    }
}

void TControl::SetParent(TWinControl* parent) {
    if (parent == m_parent) {
        return;
    }
    if (parent == this) {
        throw std::invalid_argument("A control cannot be its own parent");
    }
    if (m_parent != nullptr) {
        m_parent->RemoveControl(this);
    }
    m_parent = parent;
    if (m_parent != nullptr) {
        m_parent->InsertControl(this);
    }
    ParentChanged();
    if (m_parent != nullptr) {
        if (m_parentFont) {
            ParentFontChanged();
        }
        if (m_parentColor) {
            ParentColorChanged();
        }
        UpdateAnchorRules();
        if (m_align != alNone) {
            m_parent->Realign();
        }
    }
}

void TControl::SetBounds(int left, int top, int width, int height) {
    auto constrain = [this](int& w, int& h) {
        if (m_constraints.MinWidth > 0) {
            w = std::max(w, m_constraints.MinWidth);
        }
        if (m_constraints.MinHeight > 0) {
            h = std::max(h, m_constraints.MinHeight);
        }
        if (m_constraints.MaxWidth > 0) {
            w = std::min(w, m_constraints.MaxWidth);
        }
        if (m_constraints.MaxHeight > 0) {
            h = std::min(h, m_constraints.MaxHeight);
        }
    };
    constrain(width, height);
    if (m_autoSize && !InState(csLoading) && m_align != alClient) {
        int w = width;
        int h = height;
        if (CanAutoSize(w, h)) {
            width = w;
            height = h;
            constrain(width, height);
        }
    }
    if (left == m_left && top == m_top && width == m_width && height == m_height) {
        return;
    }
    const TRect old = BoundsRect();
    m_left = left;
    m_top = top;
    m_width = width;
    m_height = height;
    if (!m_anchoring) {
        UpdateAnchorRules();
    }
    BoundsChanged(old);
    if ((old.Width() != width || old.Height() != height) && OnResize && !InState(csLoading)) {
        OnResize(this);
    }
    if (m_parent != nullptr && m_align != alNone) {
        m_parent->Realign();
    }
}

void TControl::SetClientSize(int w, int h) {
    SetBounds(m_left, m_top, w + (m_width - ClientWidth()), h + (m_height - ClientHeight()));
}

TPoint TControl::ClientOrigin() const {
    if (m_parent == nullptr) {
        return {m_left, m_top};
    }
    const TPoint p = m_parent->ClientOrigin();
    return {p.X + m_left, p.Y + m_top};
}

TPoint TControl::ClientToScreen(TPoint p) const {
    const TPoint o = ClientOrigin();
    return {p.X + o.X, p.Y + o.Y};
}

TPoint TControl::ScreenToClient(TPoint p) const {
    const TPoint o = ClientOrigin();
    return {p.X - o.X, p.Y - o.Y};
}

void TControl::SetVisible(bool v) {
    if (v == m_visible) {
        return;
    }
    m_visible = v;
    VisibleChanged();
    if (m_parent != nullptr && m_align != alNone) {
        m_parent->Realign();
    }
}

bool TControl::Showing() const {
    return m_visible && m_parent != nullptr && m_parent->Showing();
}

void TControl::SetEnabled(bool v) {
    if (v == m_enabled) {
        return;
    }
    m_enabled = v;
    EnabledChanged();
}

void TControl::SetAlign(TAlign a) {
    if (a == m_align) {
        return;
    }
    m_align = a;
    if (m_parent != nullptr) {
        m_parent->Realign();
    }
}

void TControl::SetAnchors(TAnchors a) {
    if (a == m_anchors) {
        return;
    }
    m_anchors = a;
    UpdateAnchorRules();
}

void TControl::SetConstraints(const TSizeConstraints& c) {
    if (c == m_constraints) {
        return;
    }
    m_constraints = c;
    SetBounds(m_left, m_top, m_width, m_height);
}

void TControl::SetAutoSize(bool v) {
    if (v == m_autoSize) {
        return;
    }
    m_autoSize = v;
    if (v) {
        SetBounds(m_left, m_top, m_width, m_height);
    }
}

void TControl::SetColor(TColor c) {
    if (c == m_color) {
        return;
    }
    m_color = c;
    m_parentColor = false;
    ColorChanged();
}

void TControl::SetParentColor(bool v) {
    if (v == m_parentColor) {
        return;
    }
    m_parentColor = v;
    if (v && m_parent != nullptr) {
        ParentColorChanged();
    }
}

void TControl::SetParentFont(bool v) {
    if (v == m_parentFont) {
        return;
    }
    m_parentFont = v;
    if (v && m_parent != nullptr) {
        ParentFontChanged();
    }
}

void TControl::ParentFontChanged() {
    if (!m_parentFont || m_parent == nullptr) {
        return;
    }
    m_fontFromParent = true;
    m_font.Assign(m_parent->Font());
    m_fontFromParent = false;
}

void TControl::ParentColorChanged() {
    if (!m_parentColor || m_parent == nullptr) {
        return;
    }
    if (m_color != m_parent->Color()) {
        m_color = m_parent->Color();
        ColorChanged();
    }
}

void TControl::SetCaption(const std::string& c) {
    if (c == m_caption) {
        return;
    }
    m_caption = c;
    CaptionChanged();
}

std::intptr_t TControl::Perform(std::uint32_t msg, std::intptr_t wParam, std::intptr_t lParam) {
    TMessage m{msg, wParam, lParam, 0};
    WndProc(m);
    return m.Result;
}

void TControl::WndProc(TMessage& message) {
    switch (message.Msg) {
        case CM_MOUSEENTER:
            MouseEnter(message);
            break;
        case CM_MOUSELEAVE:
            MouseLeave(message);
            break;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK: {
            const bool dbl = message.Msg == WM_LBUTTONDBLCLK;
            if (Application != nullptr) {
                Application->SetCaptureControl(this);
            }
            TShiftState shift = static_cast<TShiftState>(message.WParam) | ssLeft;
            if (dbl) {
                shift |= ssDouble;
                m_clicked = false;
                DblClick();
            } else {
                m_clicked = true;
            }
            MouseDown(mbLeft, shift, LowSigned(message.LParam), HighSigned(message.LParam));
            break;
        }
        case WM_LBUTTONUP: {
            if (Application != nullptr && Application->CaptureControl() == this) {
                Application->SetCaptureControl(nullptr);
            }
            const int x = LowSigned(message.LParam);
            const int y = HighSigned(message.LParam);
            if (m_clicked) {
                m_clicked = false;
                if (ClientRect().Contains({x, y})) {
                    Click();
                }
            }
            MouseUp(mbLeft, static_cast<TShiftState>(message.WParam), x, y);
            break;
        }
        case WM_MOUSEMOVE:
            MouseMove(static_cast<TShiftState>(message.WParam), LowSigned(message.LParam),
                      HighSigned(message.LParam));
            break;
        default:
            break;
    }
}

void TControl::MouseEnter(TMessage& message) {
    // Passed up so that containers (a form in particular) hear about their
    // children; LParam names the child it started from.
    if (m_parent != nullptr) {
        m_parent->Perform(CM_MOUSEENTER, 0,
                          message.LParam != 0 ? message.LParam : reinterpret_cast<std::intptr_t>(this));
    }
}

void TControl::MouseLeave(TMessage& message) {
    if (m_parent != nullptr) {
        m_parent->Perform(CM_MOUSELEAVE, 0,
                          message.LParam != 0 ? message.LParam : reinterpret_cast<std::intptr_t>(this));
    }
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseDown) {
        OnMouseDown(this, button, shift, x, y);
    }
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseUp) {
        OnMouseUp(this, button, shift, x, y);
    }
}

void TControl::MouseMove(TShiftState shift, int x, int y) {
    if (OnMouseMove) {
        OnMouseMove(this, shift, x, y);
    }
}

void TControl::Invalidate() {}

void TControl::Repaint() {}

void TControl::BringToFront() {
    if (m_parent != nullptr) {
        m_parent->SetChildOrder(this, m_parent->ControlCount() - 1);
    }
}

void TControl::SendToBack() {
    if (m_parent != nullptr) {
        m_parent->SetChildOrder(this, 0);
    }
}

void TControl::Click() {
    if (OnClick) {
        OnClick(this);
    }
}

void TControl::DblClick() {
    if (OnDblClick) {
        OnDblClick(this);
    }
}

bool TControl::MouseCapture() const {
    return Application != nullptr && Application->CaptureControl() == this;
}

void TControl::UpdateAnchorRules() {
    if (m_parent == nullptr || m_anchoring) {
        return;
    }
    const int pw = m_parent->ClientWidth();
    const int ph = m_parent->ClientHeight();
    m_originalParentSize = {pw, ph};
    if (m_anchors & akRight) {
        m_anchorRules.X = (m_anchors & akLeft) ? m_width : m_left;
    } else {
        m_anchorRules.X = m_left + m_width / 2;
    }
    if (m_anchors & akBottom) {
        m_anchorRules.Y = (m_anchors & akTop) ? m_height : m_top;
    } else {
        m_anchorRules.Y = m_top + m_height / 2;
    }
}

void TControl::AnchorTo(int parentWidth, int parentHeight) {
    if (m_anchors == AnchorsLeftTop || m_originalParentSize.X <= 0 || m_originalParentSize.Y <= 0) {
        return;
    }
    int left = m_left;
    int top = m_top;
    int width = m_width;
    int height = m_height;
    const TPoint ops = m_originalParentSize;
    if (m_anchors & akRight) {
        if (m_anchors & akLeft) {
            width = parentWidth - (ops.X - m_anchorRules.X);
        } else {
            left = parentWidth - (ops.X - m_anchorRules.X);
        }
    } else if (!(m_anchors & akLeft)) {
        // Neither side: the horizontal centre keeps its fraction of the width.
        left = MulDiv(m_anchorRules.X, parentWidth, ops.X) - width / 2;
    }
    if (m_anchors & akBottom) {
        if (m_anchors & akTop) {
            height = parentHeight - (ops.Y - m_anchorRules.Y);
        } else {
            top = parentHeight - (ops.Y - m_anchorRules.Y);
        }
    } else if (!(m_anchors & akTop)) {
        top = MulDiv(m_anchorRules.Y, parentHeight, ops.Y) - height / 2;
    }
    m_anchoring = true;
    SetBounds(left, top, std::max(width, 0), std::max(height, 0));
    m_anchoring = false;
}

TGraphicControl::TGraphicControl(TComponent* AOwner) : TControl(AOwner) {}

TGraphicControl::~TGraphicControl() {
    Destroying();
    if (m_parent != nullptr) {
        Invalidate();
    }
}

void TGraphicControl::Invalidate() {
    if (m_parent != nullptr && m_parent->ClientWidget() != nullptr && m_visible) {
        m_parent->ClientWidget()->update(m_left, m_top, m_width, m_height);
    }
}

void TGraphicControl::Repaint() {
    if (m_parent != nullptr && m_parent->ClientWidget() != nullptr && m_visible) {
        m_parent->ClientWidget()->repaint(m_left, m_top, m_width, m_height);
    }
}

void TGraphicControl::BoundsChanged(const TRect& oldBounds) {
    if (m_parent != nullptr && m_parent->ClientWidget() != nullptr && m_visible) {
        m_parent->ClientWidget()->update(oldBounds.Left, oldBounds.Top, oldBounds.Width(),
                                         oldBounds.Height());
        Invalidate();
    }
}

void TGraphicControl::VisibleChanged() {
    if (m_parent != nullptr && m_parent->ClientWidget() != nullptr) {
        m_parent->ClientWidget()->update(m_left, m_top, m_width, m_height);
    }
    AccessibleNotify(m_visible ? acShow : acHide);
}

}  // namespace kx
