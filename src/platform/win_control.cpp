#include "platform/win_control.h"

#include <algorithm>
#include <stdexcept>

#include <QAbstractScrollArea>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QTimer>

#ifdef Q_OS_UNIX
#include <sys/mman.h>
#endif

#include "platform/application.h"
#include "platform/color_contrast.h"
#include "platform/form.h"
#include "platform/qt_bridge.h"

namespace kx {

namespace {

TShiftState ShiftFrom(const QMouseEvent* e) {
    TShiftState s = 0;
    const auto mods = e->modifiers();
    if (mods & Qt::ShiftModifier)
        s |= ssShift;
    if (mods & Qt::ControlModifier)
        s |= ssCtrl;
    if (mods & Qt::AltModifier)
        s |= ssAlt;
    const auto buttons = e->buttons();
    if (buttons & Qt::LeftButton)
        s |= ssLeft;
    if (buttons & Qt::RightButton)
        s |= ssRight;
    if (buttons & Qt::MiddleButton)
        s |= ssMiddle;
    return s;
}

}  // namespace

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

TCustomControl::TCustomControl(TComponent* AOwner) : TWinControl(AOwner) {
    auto* w = new KxPaintWidget(this);
    SetWidget(w);
}

TCustomControl::~TCustomControl() {
    Destroying();
}

void TCustomControl::Paint() {
    m_canvas.Brush().Color = m_color;
    m_canvas.FillRect(ClientRect());
}

namespace {

// A paint buffer of w x h device pixels. A large one is mapped from the system on its own and
// unmapped when the last image using it goes: the allocator would otherwise keep the memory of a
// window-sized buffer after the paint, as good as a second back buffer.
QImage NewPaintBuffer(int w, int h) {
    constexpr std::size_t kOwnMappingFrom = std::size_t{256} * 1024;
    const auto bytesPerLine = static_cast<std::size_t>(w) * 4;
    const std::size_t size = bytesPerLine * static_cast<std::size_t>(h);
#ifdef Q_OS_UNIX
    if (size >= kOwnMappingFrom) {
        void* pixels = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (pixels == MAP_FAILED) {
            return {};
        }
        struct TMapping {
            void* Pixels;
            std::size_t Size;
        };
        auto release = [](void* info) {
            auto* mapping = static_cast<TMapping*>(info);
            munmap(mapping->Pixels, mapping->Size);
            delete mapping;
        };
        return QImage(static_cast<uchar*>(pixels), w, h, static_cast<qsizetype>(bytesPerLine),
                      QImage::Format_RGB32, release, new TMapping{pixels, size});
    }
#endif
    return QImage(w, h, QImage::Format_RGB32);
}

}  // namespace

TRect TCustomControl::PaintArea() const {
    const QWidget* cw = ClientWidget();
    const int w = cw != nullptr ? cw->width() : ClientWidth();
    const int h = cw != nullptr ? cw->height() : ClientHeight();
    return {0, 0, std::max(w, 0), std::max(h, 0)};
}

QImage TCustomControl::PaintWindow(const TRect& r, double ratio, TRect& covered) {
    const TRect client = PaintArea();
    TRect area = r.Intersect(client);
    // Grow the region until it takes in every windowless child it touches; a ring that reads the
    // photograph beneath it at its first paint must find all of it, not just the damaged part.
    for (bool grown = !area.IsEmpty(); grown;) {
        grown = false;
        for (const TControl* c : m_controls) {
            if (dynamic_cast<const TGraphicControl*>(c) == nullptr || !c->Visible()) {
                continue;
            }
            const TRect bounds = c->BoundsRect().Intersect(client);
            if (bounds.Intersect(area).IsEmpty()) {
                continue;
            }
            const TRect united{std::min(area.Left, bounds.Left), std::min(area.Top, bounds.Top),
                               std::max(area.Right, bounds.Right), std::max(area.Bottom, bounds.Bottom)};
            if (united != area) {
                area = united;
                grown = true;
            }
        }
    }
    covered = area;
    if (area.IsEmpty()) {
        return {};
    }
    const auto left = DevicePixels(area.Left, ratio);
    const auto top = DevicePixels(area.Top, ratio);
    const auto width = DevicePixels(area.Right, ratio) - left;
    const auto height = DevicePixels(area.Bottom, ratio) - top;
    QImage buffer = NewPaintBuffer(static_cast<int>(width), static_cast<int>(height));
    if (buffer.isNull()) {
        throw std::runtime_error("Not enough memory to paint " + Name());
    }
    if (!m_opaque) {
        // What the control does not cover shows its colour; the buffer starts with no content of
        // its own. An opaque control covers all of it.
        buffer.fill(ToQColor(m_color));
    }
    m_painting = true;
    struct Restore {
        TCustomControl* self;
        ~Restore() {
            self->m_canvas.Detach();
            self->m_painting = false;
        }
    } restore{this};
    m_canvas.Attach(&buffer, {static_cast<int>(-left), static_cast<int>(-top)},
                    {0, 0, buffer.width(), buffer.height()}, ratio);
    Paint();
    PaintControls(area);
    m_paintedOnce = true;
    return buffer;
}

QImage TCustomControl::Render(const TRect& r, double ratio) {
    TRect covered;
    const QImage composed = PaintWindow(r, ratio, covered);
    const TRect wanted = r.Intersect(covered);
    if (composed.isNull() || wanted.IsEmpty()) {
        return {};
    }
    const auto left = DevicePixels(wanted.Left, ratio);
    const auto top = DevicePixels(wanted.Top, ratio);
    return composed.copy(static_cast<int>(left - DevicePixels(covered.Left, ratio)),
                         static_cast<int>(top - DevicePixels(covered.Top, ratio)),
                         static_cast<int>(DevicePixels(wanted.Right, ratio) - left),
                         static_cast<int>(DevicePixels(wanted.Bottom, ratio) - top));
}

QImage TCustomControl::Render() {
    return Render(PaintArea(), 1.0);
}

void TCustomControl::PaintControls(const TRect& clip) {
    // A child may reorder the list while it paints (bringing itself to the
    // front), so walk a copy.
    QImage* surface = m_canvas.Surface();
    const double ratio = m_canvas.Ratio();
    const TPoint origin = m_canvas.Origin();
    const std::vector<TControl*> children = m_controls;
    for (TControl* c : children) {
        auto* g = dynamic_cast<TGraphicControl*>(c);
        if (g == nullptr || !g->Visible() || IndexOfControl(g) < 0) {
            continue;
        }
        const TRect area = g->BoundsRect().Intersect(clip);
        if (area.IsEmpty()) {
            continue;
        }
        // The child's canvas starts at its own device corner; its clip is the device pixels of the
        // part of it being painted.
        const auto device = [&](int v, int shift) {
            return static_cast<int>(DevicePixels(v, ratio)) + shift;
        };
        g->m_canvas.Attach(surface, {device(g->Left(), origin.X), device(g->Top(), origin.Y)},
                           {device(area.Left, origin.X), device(area.Top, origin.Y),
                            device(area.Right, origin.X), device(area.Bottom, origin.Y)},
                           ratio);
        try {
            g->Paint();
        } catch (...) {
            g->m_canvas.Detach();
            throw;
        }
        g->m_canvas.Detach();
    }
}

TCustomPanel::TCustomPanel(TComponent* AOwner) : TCustomControl(AOwner) {
    SetBounds(0, 0, 185, 41);
    m_color = clBtnFace;
}

void TCustomPanel::SetBevelInner(TBevelCut v) {
    if (v == m_bevelInner)
        return;
    m_bevelInner = v;
    Invalidate();
}

void TCustomPanel::SetBevelOuter(TBevelCut v) {
    if (v == m_bevelOuter)
        return;
    m_bevelOuter = v;
    Invalidate();
}

void TCustomPanel::SetBevelWidth(int v) {
    if (v == m_bevelWidth)
        return;
    m_bevelWidth = v;
    Invalidate();
}

void TCustomPanel::SetBorderWidth(int v) {
    if (v == m_borderWidth)
        return;
    m_borderWidth = v;
    Invalidate();
}

void TCustomPanel::SetBorderStyle(TBorderStyle v) {
    if (v == m_borderStyle)
        return;
    m_borderStyle = v;
    Invalidate();
}

void TCustomPanel::SetAlignment(TAlignment a) {
    if (a == m_alignment)
        return;
    m_alignment = a;
    Invalidate();
}

void TCustomPanel::FontChanged() {
    TCustomControl::FontChanged();
    Invalidate();
}

void TCustomPanel::Paint() {
    TCanvas& c = m_canvas;
    TRect r = ClientRect();
    auto frame = [&](TBevelCut cut, int width) {
        if (cut == bvNone) {
            return;
        }
        const TColor topLeft = cut == bvLowered ? clBtnShadow : clBtnHighlight;
        const TColor bottomRight = cut == bvLowered ? clBtnHighlight : clBtnShadow;
        for (int i = 0; i < width && !r.IsEmpty(); ++i) {
            if (cut != bvSpace) {
                c.Brush().Color = topLeft;
                c.FillRect({r.Left, r.Top, r.Right, r.Top + 1});
                c.FillRect({r.Left, r.Top, r.Left + 1, r.Bottom});
                c.Brush().Color = bottomRight;
                c.FillRect({r.Left, r.Bottom - 1, r.Right, r.Bottom});
                c.FillRect({r.Right - 1, r.Top, r.Right, r.Bottom});
            }
            r = {r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
        }
    };
    if (m_borderStyle == bsSingle) {
        c.Brush().Color = clBlack;
        c.FillRect({r.Left, r.Top, r.Right, r.Top + 1});
        c.FillRect({r.Left, r.Top, r.Left + 1, r.Bottom});
        c.FillRect({r.Left, r.Bottom - 1, r.Right, r.Bottom});
        c.FillRect({r.Right - 1, r.Top, r.Right, r.Bottom});
        r = {r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
    }
    frame(m_bevelOuter, m_bevelWidth);
    r = {r.Left + m_borderWidth, r.Top + m_borderWidth, r.Right - m_borderWidth, r.Bottom - m_borderWidth};
    frame(m_bevelInner, m_bevelWidth);
    c.Brush().Color = m_color;
    c.FillRect(r);
    if (!m_caption.empty()) {
        c.Font().Assign(m_font);
        c.TextRect(r, m_caption, m_alignment, false, true);
    }
}

KxPaintWidget::KxPaintWidget(TCustomControl* control, QWidget* parent) : QWidget(parent), m_control(control) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::ClickFocus);
}

namespace {
int g_paintDepth = 0;
}

void LinkWidget(QWidget* widget, TWinControl* control) {
    widget->setProperty("kxControl",
                        control != nullptr ? QVariant::fromValue(static_cast<void*>(control)) : QVariant());
}

TWinControl* ControlOfWidget(const QWidget* widget) {
    const QVariant v = widget != nullptr ? widget->property("kxControl") : QVariant();
    return v.isValid() ? static_cast<TWinControl*>(v.value<void*>()) : nullptr;
}

QColor ToQColor(TColor color) {
    const TColor rgb = ColorToRGB(color);
    return {GetRValue(rgb), GetGValue(rgb), GetBValue(rgb)};
}

void SetScrollBars(QAbstractScrollArea* view, bool vertical, bool horizontal) {
    view->setVerticalScrollBarPolicy(vertical ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    view->setHorizontalScrollBarPolicy(horizontal ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
}

void SetBaseColor(QWidget* view, TColor color) {
    SetWidgetColors(view, color, QPalette::Base, QPalette::Text);
}

bool InsidePaint() {
    return g_paintDepth > 0;
}

void KxPaintWidget::paintEvent(QPaintEvent* event) {
    if (m_control == nullptr) {
        return;
    }
    const double ratio = devicePixelRatioF();
    QPainter p(this);
    // Qt leaves out of the region what opaque children cover, such as the board image on the main
    // window; composing the region's rectangles one by one paints none of that. A region of many
    // small pieces is painted as one rectangle, so that children it touches are not painted again
    // for every piece.
    const QRegion region = event->region();
    constexpr int kMostPieces = 8;
    const std::vector<QRect> pieces = region.rectCount() <= kMostPieces
                                          ? std::vector<QRect>(region.begin(), region.end())
                                          : std::vector<QRect>{event->rect()};
    for (const QRect& qr : pieces) {
        QImage buffer;
        TRect covered;
        ++g_paintDepth;
        SafeCall([&] {
            buffer = m_control->PaintWindow({qr.left(), qr.top(), qr.right() + 1, qr.bottom() + 1}, ratio,
                                            covered);
        });
        --g_paintDepth;
        if (buffer.isNull()) {
            // A failed paint still leaves the control's colour, not whatever the backing store held.
            p.fillRect(qr, ToQColor(m_control->Color()));
            continue;
        }
        // The buffer holds device pixels. Undoing the ratio in the painter's transform lets Qt copy
        // them one to one, without its scaling path. Qt clips to the region it asked for, which the
        // buffer may exceed.
        p.save();
        p.scale(1.0 / ratio, 1.0 / ratio);
        p.drawImage(QPoint(static_cast<int>(DevicePixels(covered.Left, ratio)),
                           static_cast<int>(DevicePixels(covered.Top, ratio))),
                    buffer);
        p.restore();
    }
}

void KxPaintWidget::Route(unsigned msg, QMouseEvent* event) {
    if (m_control == nullptr) {
        return;
    }
    const QPoint pos = event->position().toPoint();
    SafeCall([&] {
        TControl* target = nullptr;
        TControl* capture = Application != nullptr ? Application->CaptureControl() : nullptr;
        if (msg != WM_LBUTTONDOWN && msg != WM_LBUTTONDBLCLK && capture != nullptr &&
            (capture == m_control || capture->Parent() == m_control)) {
            target = capture;
        } else {
            target = m_control->ControlAtPos({pos.x(), pos.y()}, false, false);
            if (target == nullptr) {
                target = m_control;
            }
        }
        int x = pos.x();
        int y = pos.y();
        if (target != m_control) {
            x -= target->Left();
            y -= target->Top();
        }
        target->Perform(msg, ShiftFrom(event), PackPoint(x, y));
    });
}

void KxPaintWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        Route(WM_LBUTTONDOWN, event);
    }
}

void KxPaintWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        Route(WM_LBUTTONUP, event);
    }
}

void KxPaintWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        Route(WM_LBUTTONDBLCLK, event);
    }
}

void KxPaintWidget::mouseMoveEvent(QMouseEvent* event) {
    Route(WM_MOUSEMOVE, event);
}

}  // namespace kx
