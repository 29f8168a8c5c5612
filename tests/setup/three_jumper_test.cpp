// The three-pin jumper: its pictures pixel by pixel as the panel it sits on
// shows them, its click cycle, and the turn of its outline after the first
// paint.

#include <algorithm>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include "support/picture_text.h"

#include "platform/application.h"
#include "platform/form.h"
#include "setup/radio_panel.h"
#include "setup/three_jumper.h"

namespace kx {
namespace {

// A picture as rows of characters: '.' background, '#' black outline,
// 'g' grey base, 'y' yellow pin, 'r' dark red cap, '?' anything else.
using test::SamePicture;
using test::TPictureText;

// The worked example, 43 x 18 with the cap on pins 2 and 3: RoundRect(1, 1,
// 42, 17, 9, 9) for the base, Rectangle(15, 0, 43, 18) for the cap and the
// pins Ellipse(7, 6, 13, 12), Ellipse(18, 6, 24, 12), Ellipse(30, 6, 36, 12)
// without a pen, each shape as the platform's GDI draws it.
const TPictureText kRightCap = {
    "...............############################", "....############rrrrrrrrrrrrrrrrrrrrrrrrrr#",
    "..##ggggggggggg#rrrrrrrrrrrrrrrrrrrrrrrrrr#", "..#gggggggggggg#rrrrrrrrrrrrrrrrrrrrrrrrrr#",
    ".#ggggggggggggg#rrrrrrrrrrrrrrrrrrrrrrrrrr#", ".#ggggggggggggg#rrrrrrrrrrrrrrrrrrrrrrrrrr#",
    ".#gggggggyygggg#rrrryyrrrrrrrrrryyrrrrrrrr#", ".#ggggggyyyyggg#rrryyyyrrrrrrrryyyyrrrrrrr#",
    ".#gggggyyyyyygg#rryyyyyyrrrrrryyyyyyrrrrrr#", ".#gggggyyyyyygg#rryyyyyyrrrrrryyyyyyrrrrrr#",
    ".#ggggggyyyyggg#rrryyyyrrrrrrrryyyyrrrrrrr#", ".#gggggggyygggg#rrrryyrrrrrrrrrryyrrrrrrrr#",
    ".#ggggggggggggg#rrrrrrrrrrrrrrrrrrrrrrrrrr#", ".#ggggggggggggg#rrrrrrrrrrrrrrrrrrrrrrrrrr#",
    "..#gggggggggggg#rrrrrrrrrrrrrrrrrrrrrrrrrr#", "..##ggggggggggg#rrrrrrrrrrrrrrrrrrrrrrrrrr#",
    "....############rrrrrrrrrrrrrrrrrrrrrrrrrr#", "...............############################",
};

// The same with the cap on pins 1 and 2: Rectangle(0, 0, 27, 18).
const TPictureText kLeftCap = {
    "###########################................", "#rrrrrrrrrrrrrrrrrrrrrrrrr#############....",
    "#rrrrrrrrrrrrrrrrrrrrrrrrr#gggggggggggg##..", "#rrrrrrrrrrrrrrrrrrrrrrrrr#ggggggggggggg#..",
    "#rrrrrrrrrrrrrrrrrrrrrrrrr#gggggggggggggg#.", "#rrrrrrrrrrrrrrrrrrrrrrrrr#gggggggggggggg#.",
    "#rrrrrrrryyrrrrrrrrryyrrrr#gggggyyggggggg#.", "#rrrrrrryyyyrrrrrrryyyyrrr#ggggyyyygggggg#.",
    "#rrrrrryyyyyyrrrrryyyyyyrr#gggyyyyyyggggg#.", "#rrrrrryyyyyyrrrrryyyyyyrr#gggyyyyyyggggg#.",
    "#rrrrrrryyyyrrrrrrryyyyrrr#ggggyyyygggggg#.", "#rrrrrrrryyrrrrrrrrryyrrrr#gggggyyggggggg#.",
    "#rrrrrrrrrrrrrrrrrrrrrrrrr#gggggggggggggg#.", "#rrrrrrrrrrrrrrrrrrrrrrrrr#gggggggggggggg#.",
    "#rrrrrrrrrrrrrrrrrrrrrrrrr#ggggggggggggg#..", "#rrrrrrrrrrrrrrrrrrrrrrrrr#gggggggggggg##..",
    "#rrrrrrrrrrrrrrrrrrrrrrrrr#############....", "###########################................",
};

// No cap: the base and the three pins alone.
const TPictureText kOpen = {
    "...........................................", "....###################################....",
    "..##ggggggggggggggggggggggggggggggggggg##..", "..#ggggggggggggggggggggggggggggggggggggg#..",
    ".#ggggggggggggggggggggggggggggggggggggggg#.", ".#ggggggggggggggggggggggggggggggggggggggg#.",
    ".#gggggggyygggggggggyyggggggggggyyggggggg#.", ".#ggggggyyyygggggggyyyyggggggggyyyygggggg#.",
    ".#gggggyyyyyygggggyyyyyyggggggyyyyyyggggg#.", ".#gggggyyyyyygggggyyyyyyggggggyyyyyyggggg#.",
    ".#ggggggyyyygggggggyyyyggggggggyyyygggggg#.", ".#gggggggyygggggggggyyggggggggggyyggggggg#.",
    ".#ggggggggggggggggggggggggggggggggggggggg#.", ".#ggggggggggggggggggggggggggggggggggggggg#.",
    "..#ggggggggggggggggggggggggggggggggggggg#..", "..##ggggggggggggggggggggggggggggggggggg##..",
    "....###################################....", "...........................................",
};

// Without a border the base is outlined in its own grey; the cap keeps its
// black outline.
const TPictureText kRightCapNoBorder = {
    "...............############################", "....ggggggggggg#rrrrrrrrrrrrrrrrrrrrrrrrrr#",
    "..ggggggggggggg#rrrrrrrrrrrrrrrrrrrrrrrrrr#", "..ggggggggggggg#rrrrrrrrrrrrrrrrrrrrrrrrrr#",
    ".gggggggggggggg#rrrrrrrrrrrrrrrrrrrrrrrrrr#", ".gggggggggggggg#rrrrrrrrrrrrrrrrrrrrrrrrrr#",
    ".ggggggggyygggg#rrrryyrrrrrrrrrryyrrrrrrrr#", ".gggggggyyyyggg#rrryyyyrrrrrrrryyyyrrrrrrr#",
    ".ggggggyyyyyygg#rryyyyyyrrrrrryyyyyyrrrrrr#", ".ggggggyyyyyygg#rryyyyyyrrrrrryyyyyyrrrrrr#",
    ".gggggggyyyyggg#rrryyyyrrrrrrrryyyyrrrrrrr#", ".ggggggggyygggg#rrrryyrrrrrrrrrryyrrrrrrrr#",
    ".gggggggggggggg#rrrrrrrrrrrrrrrrrrrrrrrrrr#", ".gggggggggggggg#rrrrrrrrrrrrrrrrrrrrrrrrrr#",
    "..ggggggggggggg#rrrrrrrrrrrrrrrrrrrrrrrrrr#", "..ggggggggggggg#rrrrrrrrrrrrrrrrrrrrrrrrrr#",
    "....ggggggggggg#rrrrrrrrrrrrrrrrrrrrrrrrrr#", "...............############################",
};

TColor FromQRgb(QRgb q) {
    return RGB(qRed(q), qGreen(q), qBlue(q));
}

char Symbol(TColor c, TColor background) {
    if (c == ColorToRGB(background)) {
        return '.';
    }
    switch (c) {
        case clBlack:
            return '#';
        case clGray:
            return 'g';
        case clYellow:
            return 'y';
        case clMaroon:
            return 'r';
        default:
            return '?';
    }
}

TPictureText ReadImage(const QImage& image, const TRect& area, TColor background) {
    TPictureText rows;
    for (int y = area.Top; y < area.Bottom; ++y) {
        std::string row;
        for (int x = area.Left; x < area.Right; ++x) {
            row += image.valid(x, y) ? Symbol(FromQRgb(image.pixel(x, y)), background) : ' ';
        }
        rows.push_back(row);
    }
    return rows;
}

TPictureText ReadImage(const QImage& image, TColor background) {
    return ReadImage(image, {0, 0, image.width(), image.height()}, background);
}

// The turns of a character picture, written out for the test: 180 degrees,
// and a quarter turn either way.
TPictureText TurnHalf(const TPictureText& in) {
    TPictureText out(in.rbegin(), in.rend());
    for (std::string& row : out) {
        std::reverse(row.begin(), row.end());
    }
    return out;
}

TPictureText TurnCounterClockwise(const TPictureText& in) {
    const int h = static_cast<int>(in.size());
    const int w = static_cast<int>(in.front().size());
    TPictureText out(w, std::string(h, ' '));
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            out[w - 1 - x][y] = in[y][x];
        }
    }
    return out;
}

TPictureText TurnClockwise(const TPictureText& in) {
    return TurnHalf(TurnCounterClockwise(in));
}

TPictureText Turned(const TPictureText& drawing, TOrientationType o) {
    switch (o) {
        case otUp:
            return drawing;
        case otDown:
            return TurnHalf(drawing);
        case otLeft:
            return TurnCounterClockwise(drawing);
        case otRight:
            return TurnClockwise(drawing);
    }
    return drawing;
}

// An application with one window holding a radio panel, and a jumper on the
// panel; nothing is shown until a test says so.
class ThreeJumperTest : public ::testing::Test {
protected:
    ThreeJumperTest() {
        form = new TForm(&app);
        form->SetBounds(0, 0, 400, 300);
        panel = new TRadioPanel(form);
        panel->SetParent(form);
        panel->SetBounds(0, 0, 240, 160);
        panel->SetVisible(true);
        jumper = new TThreeJumper(form);
        jumper->SetParent(panel);
        jumper->SetLeft(20);
        jumper->SetTop(30);
    }

    void ShowAndPump() {
        form->Show();
        app.PumpUntilIdle();
    }

    // What the panel shows inside the jumper's bounds.
    TPictureText OnPanel(TColor background = clBtnFace) const {
        return ReadImage(panel->Render(), jumper->BoundsRect(), background);
    }

    TColor PanelPixel(int x, int y) const {
        return FromQRgb(panel->Render().pixel(jumper->Left() + x, jumper->Top() + y));
    }

    // A press and release of the left button at a point of the panel, as Qt
    // delivers them to the panel's widget.
    void ClickPanelAt(QPoint p) {
        QMouseEvent press(QEvent::MouseButtonPress, p, panel->Widget()->mapToGlobal(p), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(panel->Widget(), &press);
        QMouseEvent release(QEvent::MouseButtonRelease, p, panel->Widget()->mapToGlobal(p), Qt::LeftButton,
                            Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(panel->Widget(), &release);
    }

    TApplication app;
    TForm* form = nullptr;
    TRadioPanel* panel = nullptr;
    TThreeJumper* jumper = nullptr;
};

TEST_F(ThreeJumperTest, NewJumperHasTheDocumentedDefaults) {
    TThreeJumper fresh(nullptr);
    EXPECT_EQ(fresh.Width(), 43);
    EXPECT_EQ(fresh.Height(), 18);
    EXPECT_EQ(fresh.Orientation(), otUp);
    EXPECT_EQ(fresh.JumperState(), jsOpen);
    EXPECT_EQ(fresh.BaseColor(), 0x808080);
    EXPECT_EQ(fresh.PinColor(), 0x00FFFF);
    EXPECT_EQ(fresh.JumperColor(), 0x000080);
    EXPECT_EQ(fresh.BorderStyle(), bsSingle);
    EXPECT_TRUE(fresh.AllowOpen());
    EXPECT_FALSE(fresh.SwapPending());
    EXPECT_FALSE(fresh.Painted());
    EXPECT_EQ(fresh.DrawBitmap().Width(), 0);
    EXPECT_EQ(fresh.ShowBitmap().Width(), 0);
}

struct TPictureCase {
    const char* Name;
    int Width;
    int Height;
    TOrientationType Orientation;
    TJumperState State;
    TBorderStyle Border;
    const TPictureText* Drawing;  // the unturned picture
};

void PrintTo(const TPictureCase& c, std::ostream* os) {
    *os << c.Name;
}

class JumperPictureTest : public ThreeJumperTest, public ::testing::WithParamInterface<TPictureCase> {};

TEST_P(JumperPictureTest, PanelShowsTheTurnedDrawingPixelForPixel) {
    const TPictureCase& c = GetParam();
    jumper->SetWidth(c.Width);
    jumper->SetHeight(c.Height);
    jumper->SetOrientation(c.Orientation);
    jumper->SetJumperState(c.State);
    jumper->SetBorderStyle(c.Border);
    ShowAndPump();

    ASSERT_TRUE(jumper->Painted());
    EXPECT_TRUE(SamePicture(*c.Drawing, ReadImage(jumper->DrawBitmap().Image(), clBtnFace)));
    EXPECT_TRUE(SamePicture(Turned(*c.Drawing, c.Orientation), OnPanel()));
    EXPECT_EQ(jumper->Width(), c.Width) << "an orientation set before the first paint keeps the size";
    EXPECT_EQ(jumper->Height(), c.Height);
}

INSTANTIATE_TEST_SUITE_P(
    Pictures, JumperPictureTest,
    ::testing::Values(
        TPictureCase{"WorkedExampleRightCap", 43, 18, otUp, jsRight, bsSingle, &kRightCap},
        TPictureCase{"LeftCap", 43, 18, otUp, jsLeft, bsSingle, &kLeftCap},
        TPictureCase{"OpenHasNoCap", 43, 18, otUp, jsOpen, bsSingle, &kOpen},
        TPictureCase{"NoBorderKeepsTheCapOutline", 43, 18, otUp, jsRight, bsNone, &kRightCapNoBorder},
        TPictureCase{"DownTurnsHalfWay", 43, 18, otDown, jsRight, bsSingle, &kRightCap},
        TPictureCase{"LeftStandsUprightPinOneAtTheBottom", 18, 43, otLeft, jsRight, bsSingle, &kRightCap},
        TPictureCase{"RightStandsUprightPinOneAtTheTop", 18, 43, otRight, jsLeft, bsSingle, &kLeftCap}),
    [](const ::testing::TestParamInfo<TPictureCase>& info) { return std::string(info.param.Name); });

TEST_F(ThreeJumperTest, UprightJumperPutsPinsAndCapWhereTheWorkedExampleSays) {
    jumper->SetBounds(20, 30, 18, 43);
    jumper->SetOrientation(otLeft);
    jumper->SetJumperState(jsRight);
    ShowAndPump();

    for (const TPoint centre : {TPoint{9, 32}, TPoint{9, 21}, TPoint{9, 9}}) {
        EXPECT_EQ(PanelPixel(centre.X, centre.Y), clYellow) << "pin centre " << centre.X << ", " << centre.Y;
    }
    // Column 5 crosses the cap's inside from y = 1 to 26, its outline at y = 0
    // and 27, and the grey base just below.
    EXPECT_EQ(PanelPixel(5, 0), clBlack);
    for (int y = 1; y <= 26; ++y) {
        EXPECT_EQ(PanelPixel(5, y), clMaroon) << "y = " << y;
    }
    EXPECT_EQ(PanelPixel(5, 27), clBlack);
    EXPECT_EQ(PanelPixel(5, 28), clGray);
}

TEST_F(ThreeJumperTest, WideShortJumperRoundsThePinRadiusHalfToEven) {
    // P = Round(78 / 4.5) = 17 would allow a radius of 5, but (20 - 2) / 4 =
    // 4.5 rounds to 4: the first pin fills the box from (14, 6) to (22, 14).
    jumper->SetBounds(20, 30, 80, 20);
    ShowAndPump();

    const QImage& shown = jumper->ShowBitmap().Image();
    TRect box{1000, 1000, -1, -1};
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < 30; ++x) {
            if (FromQRgb(shown.pixel(x, y)) == clYellow) {
                box = {std::min(box.Left, x), std::min(box.Top, y), std::max(box.Right, x + 1),
                       std::max(box.Bottom, y + 1)};
            }
        }
    }
    EXPECT_EQ(box, (TRect{14, 6, 22, 14}));
}

// A parent of another colour: only a radio panel itself lends it.
class TTintedPanel : public TRadioPanel {
public:
    KX_CLASS(TTintedPanel)
    using TRadioPanel::TRadioPanel;
};

TEST_F(ThreeJumperTest, BackgroundComesOnlyFromAnExactRadioPanel) {
    struct Case {
        const char* Name;
        TCustomPanel* Parent;
        TColor Expected;
    };
    auto* derived = new TTintedPanel(form);
    auto* plain = new TCustomPanel(form);
    const Case cases[] = {
        {"radio panel", panel, clRed},
        {"class derived from the radio panel", derived, clBtnFace},
        {"ordinary panel", plain, clBtnFace},
    };
    for (const Case& c : cases) {
        c.Parent->SetParent(form);
        c.Parent->SetBounds(0, 0, 240, 160);
        c.Parent->SetVisible(true);
        c.Parent->SetColor(clRed);
        c.Parent->BringToFront();
        jumper->SetParent(c.Parent);
        ShowAndPump();

        const QImage& shown = c.Parent->Render();
        EXPECT_EQ(FromQRgb(shown.pixel(jumper->Left(), jumper->Top())), ColorToRGB(c.Expected)) << c.Name;
        EXPECT_EQ(FromQRgb(shown.pixel(jumper->Left() - 1, jumper->Top())), clRed)
            << c.Name << ": the parent itself";
    }
}

TEST_F(ThreeJumperTest, ChangedPropertyRepaintsTheJumper) {
    struct Case {
        const char* Name;
        std::function<void(TThreeJumper&)> Change;
        TPoint At;
        TColor Before;
        TColor After;
    };
    const Case cases[] = {
        {"BaseColor", [](TThreeJumper& j) { j.SetBaseColor(clGreen); }, {5, 5}, clGray, clGreen},
        {"PinColor", [](TThreeJumper& j) { j.SetPinColor(clBlue); }, {9, 8}, clYellow, clBlue},
        {"JumperColor", [](TThreeJumper& j) { j.SetJumperColor(clNavy); }, {20, 3}, clMaroon, clNavy},
        {"BorderStyle", [](TThreeJumper& j) { j.SetBorderStyle(bsNone); }, {1, 5}, clBlack, clGray},
        {"JumperState", [](TThreeJumper& j) { j.SetJumperState(jsLeft); }, {35, 3}, clMaroon, clGray},
        {"Orientation", [](TThreeJumper& j) { j.SetOrientation(otDown); }, {5, 5}, clGray, clMaroon},
    };
    for (const Case& c : cases) {
        jumper->SetBaseColor(clGray);
        jumper->SetPinColor(clYellow);
        jumper->SetJumperColor(clMaroon);
        jumper->SetBorderStyle(bsSingle);
        jumper->SetJumperState(jsRight);
        jumper->SetOrientation(otUp);
        ShowAndPump();
        ASSERT_EQ(PanelPixel(c.At.X, c.At.Y), c.Before) << c.Name;

        c.Change(*jumper);
        app.PumpUntilIdle();
        EXPECT_EQ(PanelPixel(c.At.X, c.At.Y), c.After) << c.Name;
    }
}

TEST_F(ThreeJumperTest, ClicksCycleThroughTheAllowedStates) {
    struct Case {
        const char* Name;
        bool AllowOpen;
        TJumperState Start;
        std::vector<TJumperState> After;
    };
    const Case cases[] = {
        {"open allowed", true, jsOpen, {jsLeft, jsRight, jsOpen, jsLeft}},
        {"open refused", false, jsLeft, {jsRight, jsLeft, jsRight, jsLeft}},
    };
    for (const Case& c : cases) {
        TThreeJumper j(nullptr);
        j.SetAllowOpen(c.AllowOpen);
        j.SetJumperState(c.Start);
        ASSERT_EQ(j.JumperState(), c.Start) << c.Name;
        for (std::size_t i = 0; i < c.After.size(); ++i) {
            j.Click();
            EXPECT_EQ(j.JumperState(), c.After[i]) << c.Name << ", click " << i + 1;
        }
    }
}

TEST_F(ThreeJumperTest, RefusingOpenMovesAnOpenCapLeftAndKeepsItShut) {
    ShowAndPump();
    ASSERT_EQ(jumper->JumperState(), jsOpen);
    ASSERT_TRUE(SamePicture(kOpen, OnPanel()));

    jumper->SetAllowOpen(false);
    EXPECT_EQ(jumper->JumperState(), jsLeft);
    app.PumpUntilIdle();
    EXPECT_TRUE(SamePicture(kLeftCap, OnPanel()));

    jumper->SetJumperState(jsOpen);
    EXPECT_EQ(jumper->JumperState(), jsLeft);

    // Allowing it again does not open the cap by itself.
    jumper->SetAllowOpen(true);
    EXPECT_EQ(jumper->JumperState(), jsLeft);
    jumper->SetJumperState(jsOpen);
    EXPECT_EQ(jumper->JumperState(), jsOpen);
}

TEST_F(ThreeJumperTest, OnClickFollowsEachClickAndSeesTheNewState) {
    std::vector<TJumperState> seen;
    std::vector<TObject*> senders;
    jumper->OnClick = [&](TObject* sender) {
        senders.push_back(sender);
        seen.push_back(jumper->JumperState());
    };

    jumper->SetJumperState(jsLeft);
    jumper->SetJumperState(jsRight);
    jumper->SetAllowOpen(false);
    EXPECT_TRUE(seen.empty()) << "setting properties from code raises nothing";

    jumper->Click();
    jumper->Click();
    EXPECT_EQ(seen, (std::vector<TJumperState>{jsLeft, jsRight}));
    EXPECT_EQ(senders, (std::vector<TObject*>{jumper, jumper}));
}

TEST_F(ThreeJumperTest, DoubleClickMovesTheCapOneStep) {
    int clicks = 0;
    int doubleClicks = 0;
    jumper->OnClick = [&](TObject*) { ++clicks; };
    jumper->OnDblClick = [&](TObject*) { ++doubleClicks; };
    jumper->SetJumperState(jsLeft);

    const std::intptr_t at = PackPoint(10, 9);
    jumper->Perform(WM_LBUTTONDOWN, 0, at);
    jumper->Perform(WM_LBUTTONUP, 0, at);
    jumper->Perform(WM_LBUTTONDBLCLK, 0, at);
    jumper->Perform(WM_LBUTTONUP, 0, at);

    EXPECT_EQ(jumper->JumperState(), jsRight);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(doubleClicks, 1);
}

TEST_F(ThreeJumperTest, ReleaseOutsideTheJumperIsNoClick) {
    jumper->SetJumperState(jsLeft);
    jumper->Perform(WM_LBUTTONDOWN, 0, PackPoint(10, 9));
    jumper->Perform(WM_LBUTTONUP, 0, PackPoint(50, 9));
    EXPECT_EQ(jumper->JumperState(), jsLeft);
}

TEST_F(ThreeJumperTest, OnlyAnEnabledVisibleJumperTakesClicksFromThePointer) {
    struct Case {
        const char* Name;
        bool Enabled;
        bool Visible;
        TJumperState After;
    };
    const Case cases[] = {
        {"enabled", true, true, jsRight},
        {"disabled", false, true, jsLeft},
        {"hidden", true, false, jsLeft},
    };
    for (const Case& c : cases) {
        int clicks = 0;
        jumper->OnClick = [&](TObject*) { ++clicks; };
        jumper->SetJumperState(jsLeft);
        jumper->SetEnabled(c.Enabled);
        jumper->SetVisible(c.Visible);
        ShowAndPump();

        ClickPanelAt(QPoint(jumper->Left() + 21, jumper->Top() + 9));
        EXPECT_EQ(jumper->JumperState(), c.After) << c.Name;
        EXPECT_EQ(clicks, c.After == jsLeft ? 0 : 1) << c.Name;
    }
}

TEST_F(ThreeJumperTest, DisabledJumperLooksLikeAnEnabledOne) {
    jumper->SetJumperState(jsRight);
    jumper->SetEnabled(false);
    ShowAndPump();
    EXPECT_TRUE(SamePicture(kRightCap, OnPanel()));
}

TEST_F(ThreeJumperTest, AxisChangeTurnsTheOutlineOnlyAfterTheFirstPaint) {
    struct Case {
        const char* Name;
        bool ShownFirst;
        std::vector<TOrientationType> Changes;
        bool PendingBeforePaint;
        int Width;
        int Height;
    };
    const Case cases[] = {
        {"up to left after shown", true, {otLeft}, true, 18, 43},
        {"up to right after shown", true, {otRight}, true, 18, 43},
        {"up to down after shown", true, {otDown}, false, 43, 18},
        {"left and back before the next paint", true, {otLeft, otUp}, true, 18, 43},
        {"left before the first paint", false, {otLeft}, true, 43, 18},
    };
    for (const Case& c : cases) {
        TThreeJumper* j = new TThreeJumper(form);
        j->SetParent(panel);
        j->SetBounds(100, 20, 43, 18);
        if (c.ShownFirst) {
            ShowAndPump();
            ASSERT_TRUE(j->Painted()) << c.Name;
        } else {
            ASSERT_FALSE(j->Painted()) << c.Name;
        }

        for (TOrientationType o : c.Changes) {
            j->SetOrientation(o);
        }
        EXPECT_EQ(j->SwapPending(), c.PendingBeforePaint) << c.Name;
        EXPECT_EQ(j->Width(), 43) << c.Name << ": nothing turns before the paint";
        EXPECT_EQ(j->Height(), 18) << c.Name;

        ShowAndPump();
        EXPECT_FALSE(j->SwapPending()) << c.Name;
        EXPECT_EQ(j->Width(), c.Width) << c.Name;
        EXPECT_EQ(j->Height(), c.Height) << c.Name;
        EXPECT_EQ(j->ShowBitmap().Width(), c.Width) << c.Name << ": the paint after the resize";
        EXPECT_EQ(j->ShowBitmap().Height(), c.Height) << c.Name;
        j->Free();
    }
}

}  // namespace
}  // namespace kx
