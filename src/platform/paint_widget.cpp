// Painting and mouse input of the widgets behind our self-painting controls;
// keys and focus are in paint_widget_keys.cpp.

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include "platform/application.h"
#include "platform/qt_bridge.h"
#include "platform/win_control.h"

namespace kx {

namespace {

TShiftState ShiftFrom(const QMouseEvent* e) {
    TShiftState s = ShiftOfModifiers(e->modifiers());
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

KxPaintWidget::KxPaintWidget(TCustomControl* control, QWidget* parent) : QWidget(parent), m_control(control) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::ClickFocus);
}

namespace {
int g_paintDepth = 0;
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
