// The real main window as a screen reader and a keyboard user meet it: one
// button per linked group of circles, named and described, checked while
// pinned; the groups in menu order under the arrow keys; Enter opens a
// group's popup and Esc closes it; the power jumper named after its labels,
// its description following the cap.

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <QAccessible>
#include <QApplication>

#include "app/main_form.h"
#include "main_window_fixture.h"
#include "platform/accessible.h"
#include "platform/button.h"
#include "platform/label.h"
#include "platform/radio_button.h"
#include "setup/board_highlight.h"
#include "setup/board_image.h"
#include "setup/popup_form.h"
#include "setup/radio_panel.h"
#include "setup/three_jumper.h"

namespace kx {
namespace {

class BoardAccessibilityTest : public test::MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        App().OnAccessibleChangeForTesting = [this](TControl* c, TAccessibleChange change) {
            events.emplace_back(change, c->AccessibleName());
        };
        board = form->BoardImage1;
        ASSERT_NE(board, nullptr);
        SettleHelpWindow();
    }
    void TearDown() override {
        App().OnAccessibleChangeForTesting = nullptr;
        MainWindowFixture::TearDown();
    }

    QAccessibleInterface* BoardInterface() { return QAccessible::queryAccessibleInterface(board->Widget()); }

    // The board's accessible children, by name.
    std::vector<std::string> Rings() {
        std::vector<std::string> names;
        QAccessibleInterface* iface = BoardInterface();
        for (int i = 0; i < iface->childCount(); ++i) {
            QAccessibleInterface* c = iface->child(i);
            EXPECT_EQ(c->role(), QAccessible::Button);
            names.push_back(c->text(QAccessible::Name).toStdString());
        }
        return names;
    }

    static std::vector<std::string> Names(const std::vector<TBoardHighlight*>& circles) {
        std::vector<std::string> names;
        for (const TBoardHighlight* c : circles) {
            names.push_back(c->PlainTitle());
        }
        return names;
    }

    bool AnnouncedDescriptionOf(const std::string& name) const {
        for (const auto& [change, who] : events) {
            if (change == acDescriptionChanged && who == name) {
                return true;
            }
        }
        return false;
    }

    TBoardImage* board = nullptr;
    // The changes a screen reader would be told of, with the name of the
    // control that told.
    std::vector<std::pair<TAccessibleChange, std::string>> events;
};

TEST_F(BoardAccessibilityTest, EachLinkedGroupIsOneButtonSpokenForByItsFirstCircle) {
    // In menu order, as the arrow keys visit them; that order stays when a
    // popup's activation brings its circles to the front.
    const std::vector<std::string> menuOrder{"External Power", "Filter Jumpers", "USB Connector", "LED",
                                             "Input Header"};
    EXPECT_EQ(Rings(), menuOrder);
    form->LedHighlight->Activate();
    Pump();
    EXPECT_EQ(board->IndexOfControl(form->LedHighlight), board->ControlCount() - 1);
    EXPECT_EQ(Rings(), menuOrder);
    // Three circles titled "Input Header": the one created first speaks.
    EXPECT_EQ(form->InputHighlight1->GroupLeader(), form->InputHighlight0);
    EXPECT_EQ(form->InputHighlight->GroupLeader(), form->InputHighlight0);
    EXPECT_FALSE(form->InputHighlight1->AccessibleExposed());
    QAccessibleInterface* led = AccessibleOf(form->LedHighlight);
    ASSERT_NE(led, nullptr);
    EXPECT_EQ(led->text(QAccessible::Description), "The LED indicates power and activity.");
    EXPECT_EQ(led->rect().topLeft(),
              board->Widget()->mapToGlobal(QPoint(form->LedHighlight->Left(), form->LedHighlight->Top())));
}

TEST_F(BoardAccessibilityTest, TheArrowKeysFollowTheMenusAndWrap) {
    EXPECT_EQ(Names(board->FocusGroups()),
              (std::vector<std::string>{"External Power", "Filter Jumpers", "USB Connector", "LED",
                                        "Input Header"}));
    // Home goes to the first group, whichever had the mark before.
    ASSERT_TRUE(board->KeyDown(Qt::Key_Home, 0));
    std::vector<std::string> visited{board->FocusedGroup()->PlainTitle()};
    for (int i = 0; i < 5; ++i) {
        ASSERT_TRUE(board->KeyDown(Qt::Key_Right, 0));
        visited.push_back(board->FocusedGroup()->PlainTitle());
    }
    EXPECT_EQ(visited, (std::vector<std::string>{"External Power", "Filter Jumpers", "USB Connector", "LED",
                                                 "Input Header", "External Power"}));
    ASSERT_TRUE(board->KeyDown(Qt::Key_Left, 0));
    EXPECT_EQ(board->FocusedGroup()->PlainTitle(), "Input Header");
    ASSERT_TRUE(board->KeyDown(Qt::Key_Home, 0));
    EXPECT_EQ(board->FocusedGroup()->PlainTitle(), "External Power");
    // Keys the board does not use travel on.
    EXPECT_FALSE(board->KeyDown(Qt::Key_Tab, 0));
    EXPECT_FALSE(board->KeyDown(Qt::Key_Right, ssCtrl));
}

TEST_F(BoardAccessibilityTest, EnterPinsTheMarkedGroupsPopupAndEscClosesIt) {
    board->KeyDown(Qt::Key_End, 0);  // Input Header, the last group
    TBoardHighlight* leader = board->FocusedGroup();
    ASSERT_EQ(leader, form->InputHighlight0);
    ASSERT_TRUE(board->KeyDown(Qt::Key_Return, 0));
    Pump();
    TPopupForm* popup = leader->GroupPopup();
    ASSERT_NE(popup, nullptr);
    EXPECT_TRUE(popup->Visible());
    EXPECT_TRUE(popup->Highlight()->Pinned());
    EXPECT_TRUE(popup->ReturnFocus());
    EXPECT_TRUE(form->InputHighlight1->Lit());
    EXPECT_TRUE(AccessibleOf(leader)->state().checked);
    // The panel that takes the focus announces the popup.
    EXPECT_EQ(form->InputPanel->AccessibleName(), "Input Header");
    EXPECT_EQ(form->InputPanel->AccessibleDescription(), form->InputPanel->Lines().front());

    EXPECT_TRUE(popup->KeyPressed(Qt::Key_Escape));
    EXPECT_FALSE(popup->Visible());
    EXPECT_FALSE(form->InputHighlight1->Lit());
    EXPECT_FALSE(AccessibleOf(leader)->state().checked);
    EXPECT_FALSE(popup->ReturnFocus());
}

TEST_F(BoardAccessibilityTest, ARingsActionPinsItsPopupAsAClickDoes) {
    QAccessibleInterface* filter = AccessibleOf(form->FilterHighlight);
    ASSERT_NE(filter, nullptr);
    QAccessibleActionInterface* action = filter->actionInterface();
    ASSERT_NE(action, nullptr);
    ASSERT_FALSE(action->actionNames().isEmpty());
    action->doAction(action->actionNames().front());
    Pump();
    ASSERT_NE(form->FilterHighlight->Popup(), nullptr);
    EXPECT_TRUE(form->FilterHighlight->Popup()->Visible());
    EXPECT_TRUE(form->FilterHighlight->Pinned());
    // The screen reader's action is not the keyboard: closing gives no focus
    // back to the board.
    EXPECT_FALSE(form->FilterHighlight->Popup()->ReturnFocus());
}

TEST_F(BoardAccessibilityTest, TheJumperIsNamedByItsLabelsAndSaysWhereTheCapIs) {
    form->PowerHighlightSel->Activate();
    Pump();
    TThreeJumper* jumper = form->BusPowerJumper;
    QAccessibleInterface* iface = AccessibleOf(jumper);
    ASSERT_NE(iface, nullptr);
    EXPECT_EQ(iface->text(QAccessible::Name), "VEXT/VUSB jumper");
    EXPECT_EQ(iface->text(QAccessible::Description), "cap on pins 2 and 3, VUSB side");

    events.clear();
    form->ExtPowerRadio->SetChecked(true);
    EXPECT_EQ(jumper->JumperState(), jsLeft);
    EXPECT_EQ(iface->text(QAccessible::Description), "cap on pins 1 and 2, VEXT side");
    EXPECT_TRUE(AnnouncedDescriptionOf("VEXT/VUSB jumper"));

    // Its action is a click: the cap moves on and the radio buttons follow.
    iface->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(jumper->JumperState(), jsRight);
    EXPECT_TRUE(form->BusPowerRadio->Checked());
}

TEST_F(BoardAccessibilityTest, TheLabelsAroundTheJumperNameItWhateverItsTurn) {
    TThreeJumper* jumper = form->BusPowerJumper;
    // Turned by half a turn, pin 1 is at the right end, beside VUSB.
    jumper->SetOrientation(otDown);
    EXPECT_EQ(jumper->AccessibleName(), "VUSB/VEXT jumper");
    // A name set by the description wins; without labels nearby it is a
    // plain jumper.
    jumper->SetOrientation(otUp);
    form->Label1->SetLeft(200);
    form->Label2->SetLeft(200);
    EXPECT_EQ(jumper->AccessibleName(), "Jumper");
    jumper->SetAccessibleName("Power selection jumper");
    EXPECT_EQ(jumper->AccessibleName(), "Power selection jumper");
}

}  // namespace
}  // namespace kx

namespace kx {
namespace {

// Whether the dashed focus mark shows in the board's picture: its
// black and white dashes along the ellipse of the marked circle, two pixels
// in from the circle's left edge on its horizontal middle line.
bool MarkShowsOn(TBoardImage& board, const TBoardHighlight& circle) {
    const QImage buffer = board.Render();
    const int y = circle.Top() + circle.Height() / 2;
    for (int dy = -6; dy <= 6; ++dy) {
        for (int x = circle.Left() + 1; x <= circle.Left() + 4; ++x) {
            const QRgb p = buffer.pixel(x, y + dy);
            if (p == qRgb(0, 0, 0) || p == qRgb(255, 255, 255)) {
                return true;
            }
        }
    }
    return false;
}

class BoardFocusTest : public test::MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        SettleHelpWindow();
    }
};

TEST_F(BoardFocusTest, TheMarkShowsOnlyWhileTheKeyboardHoldsTheBoard) {
    TBoardImage* board = form->BoardImage1;
    board->FocusGroup(form->LedHighlight);
    Pump();
    ASSERT_TRUE(board->Focused());
    board->Repaint();
    EXPECT_TRUE(board->FocusMarkVisible());
    EXPECT_TRUE(MarkShowsOn(*board, *form->LedHighlight));
    EXPECT_FALSE(MarkShowsOn(*board, *form->USBHighlight));
    EXPECT_TRUE(AccessibleOf(form->LedHighlight)->state().focused);

    // A popup opened from the keyboard takes the focus; the mark goes.
    ASSERT_TRUE(board->KeyDown(Qt::Key_Space, 0));
    Pump();
    TPopupForm* popup = form->LedHighlight->Popup();
    ASSERT_NE(popup, nullptr);
    ASSERT_TRUE(popup->Visible());
    board->Repaint();
    EXPECT_FALSE(board->FocusMarkVisible());
    EXPECT_FALSE(MarkShowsOn(*board, *form->LedHighlight));

    // Done gives the focus back to the group, mark and all.
    popup->DoneButton->Click();
    Pump();
    EXPECT_TRUE(board->Focused());
    EXPECT_EQ(board->FocusedGroup(), form->LedHighlight);
    board->Repaint();
    EXPECT_TRUE(MarkShowsOn(*board, *form->LedHighlight));
}

TEST_F(BoardFocusTest, ATourStepFromAKeyboardPopupHandsTheFocusReturnOn) {
    TBoardImage* board = form->BoardImage1;
    board->FocusGroup(form->PowerHighlightSel);
    ASSERT_TRUE(board->KeyDown(Qt::Key_Return, 0));
    Pump();
    TPopupForm* power = form->PowerHighlightSel->Popup();
    ASSERT_NE(power, nullptr);
    power->NextButton->Click();
    Pump();
    // The step closed the power popup, but the next popup holds the focus:
    // the board does not take it back yet.
    TPopupForm* filter = form->FilterHighlight->Popup();
    ASSERT_NE(filter, nullptr);
    EXPECT_FALSE(power->Visible());
    EXPECT_TRUE(filter->Visible());
    EXPECT_TRUE(filter->ReturnFocus());
    EXPECT_FALSE(board->Focused());

    filter->DoneButton->Click();
    Pump();
    EXPECT_TRUE(board->Focused());
    EXPECT_EQ(board->FocusedGroup(), form->FilterHighlight);
}

TEST_F(BoardFocusTest, APopupThePointerOpenedGivesNoFocusBack) {
    TBoardImage* board = form->BoardImage1;
    TBoardHighlight* led = form->LedHighlight;
    const TPoint o = board->ClientOrigin();
    PointerAt(o.X + led->Left() + led->Width() / 2, o.Y + led->Top() + led->Height() / 2);
    led->Click();
    Pump();
    ASSERT_NE(led->Popup(), nullptr);
    EXPECT_FALSE(led->Popup()->ReturnFocus());
    led->Popup()->DoneButton->Click();
    Pump();
    EXPECT_FALSE(board->FocusMarkVisible());
}

}  // namespace
}  // namespace kx
