#pragma once

// How our controls appear on the desktop's accessibility bus. Windowed
// controls are real Qt widgets and appear by themselves; a windowless control
// (a label, a drawn ring, a drawn jumper) has no Qt object at all, so the
// widget of its windowed parent lists it as an accessible child, with what the
// control says of itself through TControl's Accessible... functions.

#include <string>
#include <vector>

#include <QAccessibleInterface>
#include <QAccessibleWidget>

#include "platform/control.h"

namespace kx {

class TWinControl;

// Puts our accessibility factory in place; the application does it once.
void InstallAccessibleFactory();

// The accessible interface of a windowless control, made when first asked
// for and kept until the control goes, so a screen reader sees one stable
// object. Null for a control that is not shown on the bus.
QAccessibleInterface* AccessibleOf(TControl* control);
// Releases the interface of a control that is going away.
void ReleaseAccessible(TControl* control);
// The windowless children of a windowed control that stand on the bus, in
// child order.
std::vector<TControl*> AccessibleChildren(const TWinControl* control);
// Lines of text as a screen reader is given them: the blank ones left out,
// the others joined by line breaks.
std::string SpokenLines(const TStrings& lines);

// A windowless control as a screen reader sees it.
class KxControlAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    explicit KxControlAccessible(TControl* control) : m_control(control) {}

    TControl* Control() const { return m_control; }

    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QWindow* window() const override;
    QAccessibleInterface* childAt(int x, int y) const override { return nullptr; }
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int index) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface* child) const override { return -1; }
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text t, const QString& text) override {}
    QRect rect() const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString& actionName) const override { return {}; }

private:
    QWidget* ParentWidget() const;

    // Valid as long as the interface: the control releases it when it goes.
    TControl* m_control;
};

// The widget of a windowed control that paints itself: Qt's view of the
// widget plus the control's windowless children, and the control's own name
// and description where it has them.
class KxWidgetAccessible : public QAccessibleWidget {
public:
    explicit KxWidgetAccessible(QWidget* widget);

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;
    QString text(QAccessible::Text t) const override;
    QAccessible::Role role() const override;

private:
    TWinControl* Control() const;
};

}  // namespace kx
