// Keyboard and focus of the widgets behind our self-painting controls. A
// control that draws several targets (a picture with hot spots) is one focus
// stop and moves a mark over its targets with the keys it handles; keys it
// does not handle travel on as usual, so Tab and Shift+Tab leave it.

#include <QFocusEvent>
#include <QKeyEvent>

#include "platform/qt_bridge.h"
#include "platform/win_control.h"

namespace kx {

void KxPaintWidget::keyPressEvent(QKeyEvent* event) {
    bool handled = false;
    if (m_control != nullptr) {
        const TShiftState shift = ShiftOfModifiers(event->modifiers());
        TCustomControl* control = m_control;
        const int key = event->key();
        SafeCall([&] { handled = control->KeyDown(key, shift); });
    }
    if (handled) {
        event->accept();
    } else {
        QWidget::keyPressEvent(event);
    }
}

void KxPaintWidget::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    if (m_control != nullptr) {
        const bool byKeyboard =
            event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason;
        TCustomControl* control = m_control;
        SafeCall([control, byKeyboard] { control->FocusChanged(true, byKeyboard); });
    }
}

void KxPaintWidget::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    if (m_control != nullptr) {
        TCustomControl* control = m_control;
        SafeCall([control] { control->FocusChanged(false, false); });
    }
}

bool KxPaintWidget::focusNextPrevChild(bool next) {
    const bool moved = QWidget::focusNextPrevChild(next);
    if (hasFocus() && m_control != nullptr) {
        // The only focus stop of its window: Tab comes back to it without a
        // new focus event, yet the user asked for the keyboard focus.
        TCustomControl* control = m_control;
        SafeCall([control] { control->FocusChanged(true, true); });
    }
    return moved;
}

}  // namespace kx
