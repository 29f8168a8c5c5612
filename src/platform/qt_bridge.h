#pragma once

// Internal to the platform layer: the Qt widgets that stand behind our
// windowed controls, and the guard every Qt callback into our code goes
// through.

#include <functional>

#include <QColor>
#include <QWidget>

#include "platform/types.h"

class QAbstractScrollArea;

namespace kx {

class TCustomControl;

// Runs f; an exception escaping it goes to the application's error report
// instead of unwinding through Qt.
void SafeCall(const std::function<void()>& f);

// True while a control is painting (no modal boxes may open then).
bool InsidePaint();

// Our control behind a Qt widget, or nullptr (widgets of our windowed
// controls carry a back reference).
class TWinControl;
void LinkWidget(QWidget* widget, TWinControl* control);
TWinControl* ControlOfWidget(const QWidget* widget);

// The shift state of Qt's keyboard modifiers (Shift, Ctrl, Alt).
TShiftState ShiftOfModifiers(Qt::KeyboardModifiers mods);

// The colour as Qt takes it (system colours looked up).
QColor ToQColor(TColor color);

// Text views: which scroll bars are always shown, and the background the text
// sits on (clWindow is the desktop's own), with a text colour that reads on it.
void SetScrollBars(QAbstractScrollArea* view, bool vertical, bool horizontal);
void SetBaseColor(QWidget* view, TColor color);

// The widget of a control that paints itself: it composes the control and its
// windowless children into the back buffer and routes mouse input to them.
class KxPaintWidget : public QWidget {
public:
    explicit KxPaintWidget(TCustomControl* control, QWidget* parent = nullptr);
    TCustomControl* Control() const { return m_control; }
    void Detach() { m_control = nullptr; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    // Keys and focus go to the control (paint_widget_keys.cpp).
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    void Route(unsigned msg, QMouseEvent* event);
    TCustomControl* m_control;
};

}  // namespace kx
