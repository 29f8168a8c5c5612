#include "platform/accessible.h"

#include <QAccessible>
#include <QAccessibleObject>
#include <QCoreApplication>
#include <QRadioButton>
#include <QWindow>

#include "platform/application.h"
#include "platform/qt_bridge.h"
#include "platform/radio_button.h"
#include "platform/std_controls.h"
#include "platform/win_control.h"

namespace kx {

namespace {

QString ToQ(const std::string& s) {
    return QString::fromStdString(s);
}

// Our radio buttons keep their group exclusive themselves, so their Qt
// buttons are not auto-exclusive, and Qt would call a checkable button that
// is not exclusive a check box. This says what they are.
class KxRadioAccessible : public QAccessibleWidget {
public:
    explicit KxRadioAccessible(QWidget* w) : QAccessibleWidget(w, QAccessible::RadioButton) {}

    QAbstractButton* Button() const { return static_cast<QAbstractButton*>(widget()); }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name) {
            const QString own = widget()->accessibleName();
            return own.isEmpty() ? ToQ(StripAccelerators(Button()->text().toStdString())) : own;
        }
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.checkable = true;
        s.checked = Button()->isChecked();
        return s;
    }
    QStringList actionNames() const override {
        QStringList names;
        if (widget()->isEnabled()) {
            names << pressAction();
        }
        return names + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& actionName) override {
        if (!widget()->isEnabled()) {
            return;
        }
        if (actionName == pressAction()) {
            Button()->click();
            return;
        }
        QAccessibleWidget::doAction(actionName);
    }
};

// The application as assistive technology names it: by its readable title.
// Qt would take its technical name, which on X11 is also the window class.
class KxApplicationAccessible : public QAccessibleApplication {
public:
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name && Application != nullptr && !Application->Title().empty()) {
            return ToQ(Application->Title());
        }
        return QAccessibleApplication::text(t);
    }
};

QAccessibleInterface* Factory(const QString&, QObject* object) {
    if (object != nullptr && object == QCoreApplication::instance()) {
        return new KxApplicationAccessible;
    }
    auto* w = qobject_cast<QWidget*>(object);
    TWinControl* control = ControlOfWidget(w);
    if (control == nullptr) {
        return nullptr;
    }
    if (dynamic_cast<TRadioButton*>(control) != nullptr && qobject_cast<QRadioButton*>(w) != nullptr) {
        return new KxRadioAccessible(w);
    }
    if (dynamic_cast<KxPaintWidget*>(w) != nullptr) {
        return new KxWidgetAccessible(w);
    }
    if (w->isWindow()) {
        // A form's own window: a frame to the screen reader, named by its
        // caption.
        return new QAccessibleWidget(w, QAccessible::Window);
    }
    return nullptr;
}

}  // namespace

void InstallAccessibleFactory() {
    // Qt ignores a factory it holds already.
    QAccessible::installFactory(Factory);
}

QAccessibleInterface* AccessibleOf(TControl* control) {
    if (control == nullptr || dynamic_cast<TWinControl*>(control) != nullptr ||
        control->AccessibleRole() == arNone) {
        return nullptr;
    }
    if (control->m_accessibleId != 0) {
        if (QAccessibleInterface* iface = QAccessible::accessibleInterface(control->m_accessibleId)) {
            return iface;
        }
    }
    auto* iface = new KxControlAccessible(control);
    control->m_accessibleId = QAccessible::registerAccessibleInterface(iface);
    return iface;
}

void ReleaseAccessible(TControl* control) {
    if (control->m_accessibleId == 0) {
        return;
    }
    const QAccessible::Id id = control->m_accessibleId;
    control->m_accessibleId = 0;
    if (QAccessible::accessibleInterface(id) != nullptr) {
        QAccessible::deleteAccessibleInterface(id);
    }
}

std::vector<TControl*> AccessibleChildren(const TWinControl* control) {
    return control != nullptr ? control->AccessibleChildList() : std::vector<TControl*>{};
}

std::string SpokenLines(const TStrings& lines) {
    std::string text;
    for (const std::string& line : lines) {
        if (line.empty()) {
            continue;
        }
        if (!text.empty()) {
            text += '\n';
        }
        text += line;
    }
    return text;
}

std::vector<TControl*> TWinControl::AccessibleChildList() const {
    std::vector<TControl*> list;
    for (TControl* c : m_controls) {
        if (dynamic_cast<TWinControl*>(c) == nullptr && c->AccessibleExposed()) {
            list.push_back(c);
        }
    }
    return list;
}

std::string TControl::AccessibleName() const {
    return m_accessibleName.empty() ? StripAccelerators(m_caption) : m_accessibleName;
}

void TControl::SetAccessibleName(const std::string& name) {
    if (name == m_accessibleName) {
        return;
    }
    m_accessibleName = name;
    AccessibleNotify(acNameChanged);
}

std::string TControl::AccessibleDescription() const {
    return m_accessibleDescription.empty() ? m_hint : m_accessibleDescription;
}

void TControl::SetAccessibleDescription(const std::string& description) {
    if (description == m_accessibleDescription) {
        return;
    }
    m_accessibleDescription = description;
    AccessibleNotify(acDescriptionChanged);
}

void TControl::AccessibleNotify(TAccessibleChange change) {
    if (Application != nullptr && Application->OnAccessibleChangeForTesting) {
        Application->OnAccessibleChangeForTesting(this, change);
    }
    if (!QAccessible::isActive()) {
        return;
    }
    QAccessibleInterface* iface = nullptr;
    if (auto* wc = dynamic_cast<TWinControl*>(this)) {
        if (wc->Widget() != nullptr) {
            iface = QAccessible::queryAccessibleInterface(wc->Widget());
        }
    } else if (m_parent != nullptr && m_parent->ClientWidget() != nullptr) {
        // A control that just went out of sight is no longer exposed, yet
        // the screen reader has to hear that it went.
        const bool showOrHide = change == acShow || change == acHide;
        if (showOrHide ? AccessibleRole() != arNone : AccessibleExposed()) {
            iface = AccessibleOf(this);
        }
    }
    if (iface == nullptr) {
        return;
    }
    switch (change) {
        case acStateChanged: {
            QAccessible::State changed;
            changed.checked = true;
            changed.pressed = true;
            changed.focused = true;
            QAccessibleStateChangeEvent event(iface, changed);
            QAccessible::updateAccessibility(&event);
            return;
        }
        case acValueChanged: {
            QAccessibleValueChangeEvent event(iface, ToQ(AccessibleDescription()));
            QAccessible::updateAccessibility(&event);
            return;
        }
        default:
            break;
    }
    QAccessible::Event type = QAccessible::NameChanged;
    switch (change) {
        case acDescriptionChanged:
            type = QAccessible::DescriptionChanged;
            break;
        case acFocus:
            type = QAccessible::Focus;
            break;
        case acShow:
            type = QAccessible::ObjectShow;
            break;
        case acHide:
            type = QAccessible::ObjectHide;
            break;
        default:
            break;
    }
    QAccessibleEvent event(iface, type);
    QAccessible::updateAccessibility(&event);
}

QWidget* KxControlAccessible::ParentWidget() const {
    TWinControl* parent = m_control->Parent();
    return parent != nullptr ? parent->ClientWidget() : nullptr;
}

bool KxControlAccessible::isValid() const {
    return ParentWidget() != nullptr;
}

QWindow* KxControlAccessible::window() const {
    QWidget* w = ParentWidget();
    return w != nullptr ? w->window()->windowHandle() : nullptr;
}

QAccessibleInterface* KxControlAccessible::parent() const {
    QWidget* w = ParentWidget();
    return w != nullptr ? QAccessible::queryAccessibleInterface(w) : nullptr;
}

QString KxControlAccessible::text(QAccessible::Text t) const {
    switch (t) {
        case QAccessible::Name:
            return ToQ(m_control->AccessibleName());
        case QAccessible::Description:
            return ToQ(m_control->AccessibleDescription());
        default:
            return {};
    }
}

QRect KxControlAccessible::rect() const {
    QWidget* w = ParentWidget();
    if (w == nullptr) {
        return {};
    }
    const TRect b = m_control->AccessibleBounds();
    return {w->mapToGlobal(QPoint(b.Left, b.Top)), QSize(b.Width(), b.Height())};
}

QAccessible::Role KxControlAccessible::role() const {
    switch (m_control->AccessibleRole()) {
        case arStaticText:
            return QAccessible::StaticText;
        case arButton:
            return QAccessible::Button;
        case arGraphic:
            return QAccessible::Graphic;
        case arNone:
        default:
            return QAccessible::NoRole;
    }
}

QAccessible::State KxControlAccessible::state() const {
    QAccessible::State s;
    const TAccessibleState own = m_control->AccessibleState();
    s.focusable = own.Focusable;
    s.focused = own.Focused;
    s.checkable = own.Checkable;
    s.checked = own.Checked;
    s.pressed = own.Pressed;
    s.disabled = !m_control->Enabled();
    QWidget* w = ParentWidget();
    s.invisible = !m_control->Visible() || w == nullptr || !w->isVisible();
    return s;
}

void* KxControlAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::ActionInterface && m_control->HasAccessibleAction()) {
        return static_cast<QAccessibleActionInterface*>(this);
    }
    return nullptr;
}

QStringList KxControlAccessible::actionNames() const {
    if (!m_control->HasAccessibleAction() || !m_control->Enabled()) {
        return {};
    }
    return {m_control->AccessibleState().Checkable ? toggleAction() : pressAction()};
}

void KxControlAccessible::doAction(const QString& actionName) {
    if (actionNames().contains(actionName)) {
        TControl* c = m_control;
        SafeCall([c] { c->DoAccessibleAction(); });
    }
}

KxWidgetAccessible::KxWidgetAccessible(QWidget* widget) : QAccessibleWidget(widget, QAccessible::Client) {}

TWinControl* KxWidgetAccessible::Control() const {
    return ControlOfWidget(widget());
}

int KxWidgetAccessible::childCount() const {
    return QAccessibleWidget::childCount() + static_cast<int>(AccessibleChildren(Control()).size());
}

QAccessibleInterface* KxWidgetAccessible::child(int index) const {
    const int own = QAccessibleWidget::childCount();
    if (index < own) {
        return QAccessibleWidget::child(index);
    }
    const std::vector<TControl*> drawn = AccessibleChildren(Control());
    const std::size_t i = static_cast<std::size_t>(index - own);
    return i < drawn.size() ? AccessibleOf(drawn[i]) : nullptr;
}

int KxWidgetAccessible::indexOfChild(const QAccessibleInterface* child) const {
    if (const auto* drawn = dynamic_cast<const KxControlAccessible*>(child)) {
        const std::vector<TControl*> list = AccessibleChildren(Control());
        for (std::size_t i = 0; i < list.size(); ++i) {
            if (list[i] == drawn->Control()) {
                return QAccessibleWidget::childCount() + static_cast<int>(i);
            }
        }
        return -1;
    }
    return QAccessibleWidget::indexOfChild(child);
}

QAccessibleInterface* KxWidgetAccessible::childAt(int x, int y) const {
    // The drawn children lie over the widget; the topmost is the last.
    const std::vector<TControl*> drawn = AccessibleChildren(Control());
    for (auto it = drawn.rbegin(); it != drawn.rend(); ++it) {
        QAccessibleInterface* iface = AccessibleOf(*it);
        if (iface != nullptr && iface->rect().contains(x, y)) {
            return iface;
        }
    }
    return QAccessibleWidget::childAt(x, y);
}

QAccessibleInterface* KxWidgetAccessible::focusChild() const {
    // A control that moves a focus mark over its drawn children says which
    // one has it.
    if (widget()->hasFocus()) {
        for (TControl* c : AccessibleChildren(Control())) {
            if (c->AccessibleState().Focused) {
                return AccessibleOf(c);
            }
        }
    }
    return QAccessibleWidget::focusChild();
}

QString KxWidgetAccessible::text(QAccessible::Text t) const {
    TWinControl* control = Control();
    // A form's client area stands inside the form's window, which carries the
    // form's caption already.
    if (control != nullptr && control->Widget() == widget()) {
        if (t == QAccessible::Name && !control->AccessibleName().empty()) {
            return ToQ(control->AccessibleName());
        }
        if (t == QAccessible::Description && !control->AccessibleDescription().empty()) {
            return ToQ(control->AccessibleDescription());
        }
    }
    return QAccessibleWidget::text(t);
}

QAccessible::Role KxWidgetAccessible::role() const {
    TWinControl* control = Control();
    if (control != nullptr && control->Widget() == widget() && !control->AccessibleName().empty()) {
        return QAccessible::Grouping;
    }
    return QAccessibleWidget::role();
}

}  // namespace kx
