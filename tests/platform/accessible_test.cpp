// Windowless controls on the accessibility bus: the widget of their windowed
// parent lists them as children with the role, name, states and screen
// bounds they say of themselves; radio buttons are radio buttons; the arrow
// keys move the selection within a group of radio buttons.

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>
#include <QRadioButton>

#include "platform/accessible.h"
#include "platform/application.h"
#include "platform/form.h"
#include "platform/std_controls.h"

namespace kx {
namespace {

// A drawn button that says what it is and counts its actions.
class TDrawnButton : public TGraphicControl {
public:
    explicit TDrawnButton(TComponent* owner) : TGraphicControl(owner) {}
    TAccessibleRole AccessibleRole() const override { return arButton; }
    TAccessibleState AccessibleState() const override {
        TAccessibleState s;
        s.Checkable = true;
        s.Checked = m_on;
        return s;
    }
    bool HasAccessibleAction() const override { return true; }
    void DoAccessibleAction() override {
        m_on = !m_on;
        AccessibleNotify(acStateChanged);
    }
    bool m_on = false;
};

class AccessibleTest : public ::testing::Test {
protected:
    AccessibleTest() {
        app.OnAccessibleChangeForTesting = [this](TControl*, TAccessibleChange change) {
            received.push_back(change);
        };
        form = new TForm(&app);
        form->SetBounds(100, 50, 500, 400);
        panel = new TCustomPanel(form);
        panel->SetParent(form);
        panel->SetBounds(10, 20, 400, 300);
    }
    ~AccessibleTest() override { app.OnAccessibleChangeForTesting = nullptr; }
    TLabel* AddLabel(const std::string& caption, int left, int top) {
        auto* l = new TLabel(form);
        l->SetParent(panel);
        l->SetLeft(left);
        l->SetTop(top);
        l->SetCaption(caption);
        return l;
    }

    QAccessibleInterface* PanelInterface() { return QAccessible::queryAccessibleInterface(panel->Widget()); }

    // The panel's accessible children that are not widgets, by name.
    std::vector<std::string> DrawnChildren() {
        std::vector<std::string> names;
        QAccessibleInterface* iface = PanelInterface();
        for (int i = 0; i < iface->childCount(); ++i) {
            QAccessibleInterface* child = iface->child(i);
            if (child != nullptr && child->object() == nullptr) {
                names.push_back(child->text(QAccessible::Name).toStdString());
            }
        }
        return names;
    }

    TApplication app;
    TForm* form = nullptr;
    TCustomPanel* panel = nullptr;
    // The changes a screen reader would be told of.
    std::vector<TAccessibleChange> received;
};

TEST_F(AccessibleTest, LabelsAreStaticTextNamedByTheirCaptionWithoutAcceleratorMarks) {
    TLabel* vextLabel = AddLabel("&VEXT", 0, 16);
    AddLabel("A&&B", 64, 16);
    TLabel* hidden = AddLabel("Hidden", 0, 40);
    hidden->SetVisible(false);
    form->Show();
    QApplication::processEvents();

    EXPECT_EQ(DrawnChildren(), (std::vector<std::string>{"VEXT", "A&B"}));
    QAccessibleInterface* vext = PanelInterface()->child(PanelInterface()->childCount() - 2);
    ASSERT_NE(vext, nullptr);
    EXPECT_EQ(vext->role(), QAccessible::StaticText);
    EXPECT_EQ(vext->parent(), PanelInterface());
    EXPECT_EQ(PanelInterface()->indexOfChild(vext), PanelInterface()->childCount() - 2);
    // Screen bounds: the label's place in the panel, moved with the panel's
    // widget on the screen.
    const QPoint origin = panel->Widget()->mapToGlobal(QPoint(0, 16));
    EXPECT_EQ(vext->rect().topLeft(), origin);
    EXPECT_EQ(vext->rect().size(), QSize(vextLabel->Width(), vextLabel->Height()));
}

TEST_F(AccessibleTest, ADrawnControlKeepsOneInterfaceAndReleasesItWhenItGoes) {
    TLabel* label = AddLabel("Header", 0, 0);
    QAccessibleInterface* first = AccessibleOf(label);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(AccessibleOf(label), first);
    const QAccessible::Id id = QAccessible::uniqueId(first);
    delete label;
    EXPECT_EQ(QAccessible::accessibleInterface(id), nullptr);
    EXPECT_TRUE(DrawnChildren().empty());
}

TEST_F(AccessibleTest, ACaptionChangeIsAnnouncedAsANameChange) {
    TLabel* label = AddLabel("Before", 0, 0);
    AccessibleOf(label);
    received.clear();
    label->SetCaption("After");
    EXPECT_EQ(AccessibleOf(label)->text(QAccessible::Name), "After");
    ASSERT_FALSE(received.empty());
    EXPECT_EQ(received.back(), acNameChanged);
}

TEST_F(AccessibleTest, ADrawnButtonsActionRunsAndItsStateChangeIsAnnounced) {
    auto* button = new TDrawnButton(form);
    button->SetParent(panel);
    button->SetBounds(5, 5, 20, 20);
    button->SetAccessibleName("Drawn");
    QAccessibleInterface* iface = AccessibleOf(button);
    ASSERT_NE(iface, nullptr);
    EXPECT_EQ(iface->role(), QAccessible::Button);
    QAccessibleActionInterface* action = iface->actionInterface();
    ASSERT_NE(action, nullptr);
    ASSERT_EQ(action->actionNames(), QStringList{QAccessibleActionInterface::toggleAction()});
    received.clear();
    action->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_TRUE(button->m_on);
    EXPECT_TRUE(iface->state().checked);
    ASSERT_FALSE(received.empty());
    EXPECT_EQ(received.back(), acStateChanged);

    // A disabled control offers no action.
    button->SetEnabled(false);
    EXPECT_TRUE(action->actionNames().isEmpty());
    EXPECT_TRUE(iface->state().disabled);
}

TEST_F(AccessibleTest, RadioButtonsAreRadioButtonsWithTheirCheckedState) {
    auto* usb = new TRadioButton(form);
    usb->SetParent(panel);
    usb->SetCaption("&USB Powered");
    usb->SetChecked(true);
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(usb->Radio());
    ASSERT_NE(iface, nullptr);
    EXPECT_EQ(iface->role(), QAccessible::RadioButton);
    EXPECT_EQ(iface->text(QAccessible::Name), "USB Powered");
    EXPECT_TRUE(iface->state().checkable);
    EXPECT_TRUE(iface->state().checked);
}

struct ArrowCase {
    const char* name;
    Qt::Key key;
    int from;
    int to;
};

class RadioArrowTest : public AccessibleTest, public ::testing::WithParamInterface<ArrowCase> {};

// Three radio buttons, created out of their screen order: the keys follow
// what the user sees, top to bottom.
TEST_P(RadioArrowTest, ArrowsCheckTheNeighbourOnScreenAndWrap) {
    const ArrowCase& c = GetParam();
    std::vector<TRadioButton*> radios(3);
    const int tops[] = {40, 0, 20};  // created as bottom, top, middle
    for (int i = 0; i < 3; ++i) {
        auto* r = new TRadioButton(form);
        r->SetParent(panel);
        r->SetBounds(8, tops[i], 121, 17);
        r->SetCaption("R" + std::to_string(i));
        radios[i] = r;
    }
    // In screen order: radios[1] (top), radios[2], radios[0].
    TRadioButton* byScreen[] = {radios[1], radios[2], radios[0]};
    form->Show();
    byScreen[c.from]->SetChecked(true);
    std::vector<std::string> clicks;
    for (TRadioButton* r : radios) {
        r->OnClick = [&clicks, r](TObject*) { clicks.push_back(r->Caption()); };
    }

    QKeyEvent press(QEvent::KeyPress, c.key, Qt::NoModifier);
    QApplication::sendEvent(byScreen[c.from]->Radio(), &press);

    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(byScreen[i]->Checked(), i == c.to) << "button " << i << " in screen order";
    }
    EXPECT_EQ(clicks, std::vector<std::string>{byScreen[c.to]->Caption()});
}

INSTANTIATE_TEST_SUITE_P(Keys, RadioArrowTest,
                         ::testing::Values(ArrowCase{"DownFromTop", Qt::Key_Down, 0, 1},
                                           ArrowCase{"RightFromMiddle", Qt::Key_Right, 1, 2},
                                           ArrowCase{"DownFromBottomWraps", Qt::Key_Down, 2, 0},
                                           ArrowCase{"UpFromMiddle", Qt::Key_Up, 1, 0},
                                           ArrowCase{"LeftFromTopWraps", Qt::Key_Left, 0, 2}),
                         [](const ::testing::TestParamInfo<ArrowCase>& info) { return info.param.name; });

TEST_F(AccessibleTest, ArrowsPassOverDisabledRadioButtons) {
    std::vector<TRadioButton*> radios;
    for (int i = 0; i < 3; ++i) {
        auto* r = new TRadioButton(form);
        r->SetParent(panel);
        r->SetBounds(8, i * 20, 121, 17);
        radios.push_back(r);
    }
    radios[1]->SetEnabled(false);
    form->Show();
    radios[0]->SetChecked(true);
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QApplication::sendEvent(radios[0]->Radio(), &press);
    EXPECT_FALSE(radios[1]->Checked());
    EXPECT_TRUE(radios[2]->Checked());
}

struct StripCase {
    const char* name;
    const char* in;
    const char* out;
};

class StripAcceleratorsTest : public ::testing::TestWithParam<StripCase> {};

TEST_P(StripAcceleratorsTest, RemovesMarksAndKeepsDoubledAmpersands) {
    EXPECT_EQ(StripAccelerators(GetParam().in), GetParam().out);
}

INSTANTIATE_TEST_SUITE_P(Captions, StripAcceleratorsTest,
                         ::testing::Values(StripCase{"Leading", "&USB Connector", "USB Connector"},
                                           StripCase{"Doubled", "A&&B", "A&B"},
                                           StripCase{"Trailing", "End&", "End"},
                                           StripCase{"None", "LED", "LED"}, StripCase{"Empty", "", ""}),
                         [](const ::testing::TestParamInfo<StripCase>& info) { return info.param.name; });

}  // namespace
}  // namespace kx
