#include <gtest/gtest.h>

#include <vector>

#include "platform/form.h"
#include "platform/win_control.h"
#include "support/kx_fixture.h"

namespace kx {
namespace {

using test::AppFixture;

// A windowless control that records the mouse notifications it handles, or
// lets them pass to its parent.
class Spot : public TGraphicControl {
public:
    Spot(TComponent* owner, std::vector<std::string>& log, bool handles)
        : TGraphicControl(owner), m_log(log), m_handles(handles) {}
    void WndProc(TMessage& m) override {
        if (m_handles && (m.Msg == CM_MOUSEENTER || m.Msg == CM_MOUSELEAVE)) {
            m_log.push_back(Name() + (m.Msg == CM_MOUSEENTER ? " enter " : " leave ") +
                            std::to_string(m.WParam));
            return;
        }
        TGraphicControl::WndProc(m);
    }
    void Paint() override {
        Canvas().Brush().Color = clRed;
        Canvas().FillRect(ClientRect());
    }

private:
    std::vector<std::string>& m_log;
    bool m_handles;
};

// A form that logs the notifications that reach it from its children.
class ListeningForm : public TForm {
public:
    ListeningForm(TComponent* owner, std::vector<std::string>& log) : TForm(owner), m_log(log) {}
    void WndProc(TMessage& m) override {
        if (m.Msg == CM_MOUSEENTER || m.Msg == CM_MOUSELEAVE) {
            auto* from = reinterpret_cast<TControl*>(m.LParam);
            m_log.push_back(std::string("form hears ") + (m.Msg == CM_MOUSEENTER ? "enter" : "leave") +
                            " of " + (from != nullptr ? from->Name() : std::string("itself")));
        }
        TForm::WndProc(m);
    }

private:
    std::vector<std::string>& m_log;
};

class ControlTest : public AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        form = new ListeningForm(&App(), log);
        form->SetBounds(100, 100, 400, 300);
        form->SetColor(clWhite);
        a = MakeSpot("a", 10, 10, 50, 50, true);
        b = MakeSpot("b", 40, 40, 50, 50, true);  // overlaps a, on top of it
        quiet = MakeSpot("quiet", 200, 10, 30, 30, false);
        form->Show();
        Pump();
    }
    Spot* MakeSpot(const char* name, int l, int t, int w, int h, bool handles) {
        auto* s = new Spot(form, log, handles);
        s->SetName(name);
        s->SetBounds(l, t, w, h);
        s->SetParent(form);
        return s;
    }
    // A point of the form's client area on the screen.
    void Client(int x, int y) {
        const TPoint o = form->ClientOrigin();
        PointerAt(o.X + x, o.Y + y);
    }

    std::vector<std::string> log;
    ListeningForm* form = nullptr;
    Spot* a = nullptr;
    Spot* b = nullptr;
    Spot* quiet = nullptr;
};

TEST_F(ControlTest, PerformDeliversSynchronouslyAndReturnsTheResult) {
    struct Answering : TGraphicControl {
        using TGraphicControl::TGraphicControl;
        void WndProc(TMessage& m) override { m.Result = m.WParam + m.LParam; }
    } c(nullptr);
    EXPECT_EQ(c.Perform(WM_USER + 1, 40, 2), 42);
}

TEST_F(ControlTest, IdleTrackingSendsLeaveToTheOldAndEnterToTheNewWithParameterZero) {
    Client(20, 20);
    Client(45, 45);         // the overlap: b lies on top
    PointerAt(1200, 1000);  // off every window
    EXPECT_EQ(log, (std::vector<std::string>{"a enter 0", "a leave 0", "b enter 0", "b leave 0"}));
}

TEST_F(ControlTest, UnhandledNotificationsPassToTheParent) {
    Client(210, 20);
    PointerAt(1200, 1000);
    EXPECT_EQ(log, (std::vector<std::string>{"form hears enter of quiet", "form hears leave of quiet"}));
}

TEST_F(ControlTest, DisabledControlsStillGetTheNotifications) {
    a->SetEnabled(false);
    Client(20, 20);
    EXPECT_EQ(log, (std::vector<std::string>{"a enter 0"}));
}

TEST_F(ControlTest, WhileAControlHoldsTheCaptureOnlyItIsConsidered) {
    Client(20, 20);
    App().SetCaptureControl(a);
    Client(45, 45);  // over b, but a holds the capture: a is left, b is not entered
    Client(20, 20);  // back on a
    App().SetCaptureControl(nullptr);
    EXPECT_EQ(log, (std::vector<std::string>{"a enter 0", "a leave 0", "a enter 0"}));
}

TEST_F(ControlTest, BringToFrontChangesWhoIsOnTopAndThePaintingOrder) {
    a->BringToFront();
    EXPECT_EQ(form->Controls(form->ControlCount() - 1), a);
    Client(45, 45);
    EXPECT_EQ(log, (std::vector<std::string>{"a enter 0"}));
}

TEST_F(ControlTest, PressAndReleaseInsideTheSameEnabledControlIsAClick) {
    int clicks = 0;
    a->OnClick = [&](TObject* s) {
        EXPECT_EQ(s, a);
        ++clicks;
    };
    a->Perform(WM_LBUTTONDOWN, 0, PackPoint(5, 5));
    a->Perform(WM_LBUTTONUP, 0, PackPoint(6, 6));
    EXPECT_EQ(clicks, 1);
    a->Perform(WM_LBUTTONDOWN, 0, PackPoint(5, 5));
    a->Perform(WM_LBUTTONUP, 0, PackPoint(70, 6));  // released outside
    EXPECT_EQ(clicks, 1);
    // The second press of a double click is no click of its own.
    a->Perform(WM_LBUTTONDOWN, 0, PackPoint(5, 5));
    a->Perform(WM_LBUTTONUP, 0, PackPoint(5, 5));
    a->Perform(WM_LBUTTONDBLCLK, 0, PackPoint(5, 5));
    a->Perform(WM_LBUTTONUP, 0, PackPoint(5, 5));
    EXPECT_EQ(clicks, 2);
}

TEST_F(ControlTest, WindowlessChildrenPaintIntoTheParentsBufferInChildOrder) {
    Pump();
    const QImage& buffer = form->Render();
    ASSERT_FALSE(buffer.isNull());
    EXPECT_EQ(buffer.pixel(5, 5), qRgb(255, 255, 255));  // the form's white
    EXPECT_EQ(buffer.pixel(20, 20), qRgb(255, 0, 0));    // a
    b->SetVisible(false);
    Pump();
    EXPECT_EQ(form->Render().pixel(80, 80), qRgb(255, 255, 255));
}

// A paint composes only the damaged region, grown to take in whole every visible windowless child it
// touches (and the children those touch), in a buffer of the region's device pixels and no larger.
TEST_F(ControlTest, APaintCoversTheDamagedRegionAndTheWholeChildrenItTouches) {
    struct TCase {
        const char* Name;
        TRect Damaged;
        double Ratio;
        TRect Covered;
    };
    const TCase cases[] = {
        {"away from every child", {300, 200, 310, 210}, 1.0, {300, 200, 310, 210}},
        {"the same at ratio 2", {300, 200, 310, 210}, 2.0, {300, 200, 310, 210}},
        {"where a and b overlap", {45, 45, 46, 46}, 1.0, {10, 10, 90, 90}},
        {"inside a only, which overlaps b", {12, 12, 13, 13}, 1.0, {10, 10, 90, 90}},
        {"a corner of quiet", {225, 35, 240, 45}, 1.0, {200, 10, 240, 45}},
    };
    for (const TCase& c : cases) {
        TRect covered;
        const QImage buffer = form->PaintWindow(c.Damaged, c.Ratio, covered);
        EXPECT_EQ(covered, c.Covered) << c.Name;
        EXPECT_EQ(buffer.width(), static_cast<int>(c.Covered.Width() * c.Ratio)) << c.Name;
        EXPECT_EQ(buffer.height(), static_cast<int>(c.Covered.Height() * c.Ratio)) << c.Name;
    }
    b->SetVisible(false);
    TRect covered;
    form->PaintWindow({12, 12, 13, 13}, 1.0, covered);
    EXPECT_EQ(covered, (TRect{10, 10, 60, 60})) << "a hidden child does not grow the region";
}

struct AnchorCase {
    const char* name;
    TAnchors anchors;
    TRect expected;  // after the parent grows from 200 x 100 to 300 x 150
};

class AnchorTest : public AppFixture, public ::testing::WithParamInterface<AnchorCase> {};

TEST_P(AnchorTest, ControlsFollowTheirAnchorsWhenTheParentResizes) {
    TForm form(nullptr);
    form.SetClientSize(200, 100);
    TCustomPanel panel(&form);
    panel.SetParent(&form);
    panel.SetBounds(71, 60, 58, 25);
    panel.SetAnchors(GetParam().anchors);
    form.SetClientSize(300, 150);
    EXPECT_EQ(panel.BoundsRect(), GetParam().expected) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(Anchors, AnchorTest,
                         ::testing::Values(AnchorCase{"LeftTop", akLeft | akTop, Bounds(71, 60, 58, 25)},
                                           AnchorCase{"RightBottom", akRight | akBottom,
                                                      Bounds(171, 110, 58, 25)},
                                           AnchorCase{"AllSides", AnchorsAll, Bounds(71, 60, 158, 75)},
                                           // Bottom only: the horizontal centre keeps its fraction of the
                                           // width (100 of 200 -> 150 of 300).
                                           AnchorCase{"BottomOnly", akBottom, Bounds(121, 110, 58, 25)}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ControlTest, FormBoundsAreTheOuterFrameAndTheClientAreaLiesInside) {
    TForm f(nullptr);
    f.SetBounds(10, 20, 300, 200);
    EXPECT_EQ(f.ClientWidth(), 300 - test::kTestFrame.left() - test::kTestFrame.right());
    EXPECT_EQ(f.ClientHeight(), 200 - test::kTestFrame.top() - test::kTestFrame.bottom());
    f.SetClientSize(186, 118);
    EXPECT_EQ(f.Width(), 186 + 8);
    EXPECT_EQ(f.Height(), 118 + 24);
    EXPECT_EQ(f.ClientOrigin(), (TPoint{10 + 4, 20 + 20}));
}

TEST_F(ControlTest, ConstraintsKeepAFormFromShrinking) {
    TForm f(nullptr);
    f.SetBounds(0, 0, 300, 200);
    f.SetConstraints({300, 200, 0, 0});
    f.SetBounds(0, 0, 100, 100);
    EXPECT_EQ(f.Width(), 300);
    EXPECT_EQ(f.Height(), 200);
}

}  // namespace
}  // namespace kx

namespace kx {
namespace {

TEST_F(ControlTest, ChildrenThatTakeTheirParentsColourFollowItsChanges) {
    TCustomPanel panel(form);
    panel.SetParent(form);
    auto* own = new TCustomPanel(&panel);
    own->SetParent(&panel);
    own->SetColor(clRed);
    auto* follower = new TCustomPanel(&panel);
    follower->SetParent(&panel);
    follower->SetParentColor(true);
    panel.SetColor(clBlue);
    EXPECT_EQ(follower->Color(), clBlue);
    EXPECT_EQ(own->Color(), clRed);
}

}  // namespace
}  // namespace kx

namespace kx {
namespace {

TEST_F(ControlTest, TabOrderIsAPlaceAmongTheSiblingsWhenSetBeforeOrAfterTheParent) {
    TForm f(nullptr);
    auto make = [&](const char* name) {
        auto* p = new TCustomPanel(&f);
        p->SetName(name);
        return p;
    };
    TCustomPanel* a = make("a");
    a->SetParent(&f);
    TCustomPanel* b = make("b");
    b->SetParent(&f);
    TCustomPanel* c = make("c");
    c->SetTabOrder(0);  // before it has a parent
    c->SetParent(&f);
    EXPECT_EQ(f.TabList(), (std::vector<TWinControl*>{c, a, b}));
    b->SetTabOrder(1);
    EXPECT_EQ(f.TabList(), (std::vector<TWinControl*>{c, b, a}));
    EXPECT_EQ(a->TabOrder(), 2);
    a->SetTabOrder(99);  // past the end: last
    EXPECT_EQ(a->TabOrder(), 2);
}

}  // namespace
}  // namespace kx
