#include "platform/qt_bridge.h"

#include <QAbstractScrollArea>

#include "platform/color_contrast.h"
#include "platform/win_control.h"

namespace kx {

void LinkWidget(QWidget* widget, TWinControl* control) {
    widget->setProperty("kxControl",
                        control != nullptr ? QVariant::fromValue(static_cast<void*>(control)) : QVariant());
}

TWinControl* ControlOfWidget(const QWidget* widget) {
    const QVariant v = widget != nullptr ? widget->property("kxControl") : QVariant();
    return v.isValid() ? static_cast<TWinControl*>(v.value<void*>()) : nullptr;
}

TShiftState ShiftOfModifiers(Qt::KeyboardModifiers mods) {
    TShiftState s = 0;
    if (mods & Qt::ShiftModifier)
        s |= ssShift;
    if (mods & Qt::ControlModifier)
        s |= ssCtrl;
    if (mods & Qt::AltModifier)
        s |= ssAlt;
    return s;
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

}  // namespace kx
