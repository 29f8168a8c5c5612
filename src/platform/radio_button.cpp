#include "platform/radio_button.h"

#include <algorithm>

#include <QKeyEvent>
#include <QRadioButton>

#include "platform/color_contrast.h"
#include "platform/qt_bridge.h"

namespace kx {

namespace {

// Qt would toggle the button by itself on a click; ours decides instead.
class KxRadio : public QRadioButton {
public:
    explicit KxRadio(TRadioButton* owner) : m_owner(owner) { setAutoExclusive(false); }
    void Detach() { m_owner = nullptr; }

protected:
    void keyPressEvent(QKeyEvent* e) override {
        int direction = 0;
        switch (e->key()) {
            case Qt::Key_Up:
            case Qt::Key_Left:
                direction = -1;
                break;
            case Qt::Key_Down:
            case Qt::Key_Right:
                direction = 1;
                break;
            default:
                break;
        }
        if (direction == 0 || m_owner == nullptr || e->modifiers() != Qt::NoModifier) {
            QRadioButton::keyPressEvent(e);
            return;
        }
        TRadioButton* owner = m_owner;
        SafeCall([owner, direction] { owner->SelectNeighbour(direction); });
        e->accept();
    }
    void nextCheckState() override {
        if (m_owner != nullptr) {
            TRadioButton* owner = m_owner;
            SafeCall([owner] { owner->UserClicked(); });
        }
    }

private:
    TRadioButton* m_owner;
};

}  // namespace

TRadioButton::TRadioButton(TComponent* AOwner) : TWinControl(AOwner) {
    auto* r = new KxRadio(this);
    r->setFocusPolicy(Qt::StrongFocus);
    m_width = 113;
    m_height = 17;
    SetWidget(r);
    // The box shows our colour rather than whatever the parent painted, so the caption's colour can be
    // chosen against a known background.
    // Buttons fill with the Button role unless told otherwise; ours is the colour we were given.
    r->setBackgroundRole(QPalette::Window);
    r->setAutoFillBackground(true);
    ColorChanged();
    FollowPaletteChanges(r, [this] { ColorChanged(); });
}

QRadioButton* TRadioButton::Radio() const {
    return static_cast<QRadioButton*>(m_widget.data());
}

void TRadioButton::SetChecked(bool v) {
    if (v == m_checked) {
        return;
    }
    if (v && m_parent != nullptr) {
        for (int i = 0; i < m_parent->ControlCount(); ++i) {
            auto* sibling = dynamic_cast<TRadioButton*>(m_parent->Controls(i));
            if (sibling != nullptr && sibling != this) {
                sibling->SetChecked(false);
            }
        }
    }
    m_checked = v;
    if (m_widget != nullptr) {
        Radio()->setChecked(v);
    }
    if (v && !InState(csLoading)) {
        Click();
    }
}

void TRadioButton::SetAlignment(TAlignment a) {
    if (a == m_alignment) {
        return;
    }
    m_alignment = a;
    if (m_widget != nullptr) {
        Radio()->setLayoutDirection(a == taLeftJustify ? Qt::RightToLeft : Qt::LeftToRight);
    }
}

void TRadioButton::UserClicked() {
    if (!m_checked) {
        SetChecked(true);
    }
}

void TRadioButton::ColorChanged() {
    TWinControl::ColorChanged();
    if (m_widget != nullptr) {
        SetWidgetColors(Radio(), m_color, QPalette::Window, QPalette::WindowText);
    }
}

void TRadioButton::SelectNeighbour(int direction) {
    if (m_parent == nullptr) {
        return;
    }
    std::vector<TRadioButton*> group;
    for (int i = 0; i < m_parent->ControlCount(); ++i) {
        auto* r = dynamic_cast<TRadioButton*>(m_parent->Controls(i));
        if (r != nullptr && (r == this || (r->Visible() && r->Enabled()))) {
            group.push_back(r);
        }
    }
    std::stable_sort(group.begin(), group.end(), [](const TRadioButton* a, const TRadioButton* b) {
        return a->Top() != b->Top() ? a->Top() < b->Top() : a->Left() < b->Left();
    });
    const auto at = std::find(group.begin(), group.end(), this) - group.begin();
    const auto n = static_cast<std::ptrdiff_t>(group.size());
    if (n < 2) {
        return;
    }
    TRadioButton* next = group[static_cast<std::size_t>(((at + (direction < 0 ? -1 : 1)) % n + n) % n)];
    next->SetFocus();
    // Moving selects, with the same reactions as a click on the button.
    next->UserClicked();
}

void TRadioButton::CaptionChanged() {
    if (m_widget != nullptr) {
        Radio()->setText(QString::fromStdString(m_caption));
    }
}

}  // namespace kx
