// The standard controls a board description places on its panels: radio
// buttons that keep one of a group checked, labels that size and align their
// text in their parent's font, and images that show a picture.

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <QApplication>
#include <QFontInfo>
#include <QKeyEvent>
#include <QRadioButton>

#include "platform/application.h"
#include "platform/description.h"
#include "platform/form.h"
#include "platform/std_controls.h"

namespace kx {
namespace {

TColor FromQRgb(QRgb q) {
    return RGB(qRed(q), qGreen(q), qBlue(q));
}

// A shown window holding a white panel without bevels, for controls to be put
// on.
class StdControlsTest : public ::testing::Test {
protected:
    StdControlsTest() {
        form = new TForm(&app);
        form->SetBounds(0, 0, 500, 400);
        panel = AddPanel();
    }

    TCustomPanel* AddPanel() {
        auto* p = new TCustomPanel(form);
        p->SetParent(form);
        p->SetBevelOuter(bvNone);
        p->SetColor(clWhite);
        p->SetBounds(0, 0, 400, 300);
        return p;
    }

    TRadioButton* AddRadio(TWinControl* parent, const std::string& caption, int top) {
        auto* r = new TRadioButton(form);
        r->SetParent(parent);
        r->SetBounds(8, top, 121, 17);
        r->SetCaption(caption);
        return r;
    }

    TLabel* AddLabel(const std::string& caption, TRect bounds) {
        auto* l = new TLabel(form);
        l->SetParent(panel);
        l->SetAutoSize(false);
        l->SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
        l->SetCaption(caption);
        return l;
    }

    void ShowAndPump() {
        form->Show();
        app.PumpUntilIdle();
    }

    TColor PanelPixel(int x, int y) const { return FromQRgb(panel->Render().pixel(x, y)); }

    // The columns of r that hold anything but the panel's white, as [first, last].
    std::pair<int, int> InkColumns(const TRect& r) const {
        int first = -1;
        int last = -1;
        for (int x = r.Left; x < r.Right; ++x) {
            for (int y = r.Top; y < r.Bottom; ++y) {
                if (PanelPixel(x, y) != clWhite) {
                    first = first < 0 ? x : first;
                    last = x;
                    break;
                }
            }
        }
        return {first, last};
    }

    // The darkest channel value inside r.
    int Darkest(const TRect& r) const {
        int darkest = 255;
        for (int y = r.Top; y < r.Bottom; ++y) {
            for (int x = r.Left; x < r.Right; ++x) {
                const TColor c = PanelPixel(x, y);
                darkest = std::min({darkest, GetRValue(c), GetGValue(c), GetBValue(c)});
            }
        }
        return darkest;
    }

    TApplication app;
    TForm* form = nullptr;
    TCustomPanel* panel = nullptr;
};

TEST_F(StdControlsTest, CheckingARadioButtonUnchecksItsSiblingsBeforeItsClick) {
    TRadioButton* usb = AddRadio(panel, "USB Powered", 56);
    TRadioButton* ext = AddRadio(panel, "External Powered", 72);
    TRadioButton* third = AddRadio(panel, "Third", 88);
    TCustomPanel* elsewhere = AddPanel();
    TRadioButton* stranger = AddRadio(elsewhere, "Other group", 8);
    usb->SetChecked(true);
    stranger->SetChecked(true);

    std::vector<bool> siblingsWhenClicked;
    int clicks = 0;
    ext->OnClick = [&](TObject* sender) {
        ++clicks;
        EXPECT_EQ(sender, ext);
        siblingsWhenClicked = {usb->Checked(), third->Checked(), usb->Radio()->isChecked()};
    };
    ext->SetChecked(true);

    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(siblingsWhenClicked, (std::vector<bool>{false, false, false}));
    EXPECT_TRUE(ext->Checked());
    EXPECT_TRUE(ext->Radio()->isChecked());
    EXPECT_FALSE(usb->Checked());
    EXPECT_TRUE(stranger->Checked()) << "a radio button of another parent is no sibling";
}

TEST_F(StdControlsTest, SettingCheckedFromCodeClicksOnlyWhenItBecomesTrue) {
    struct Case {
        const char* Name;
        bool Start;
        bool Value;
        int Clicks;
    };
    const Case cases[] = {
        {"unchecked to checked", false, true, 1},
        {"checked to checked", true, true, 0},
        {"checked to unchecked", true, false, 0},
        {"unchecked to unchecked", false, false, 0},
    };
    for (const Case& c : cases) {
        TRadioButton* r = AddRadio(panel, c.Name, 8);
        TRadioButton* sibling = AddRadio(panel, "sibling", 24);
        r->SetChecked(c.Start);
        sibling->SetChecked(!c.Start);
        int clicks = 0;
        int siblingClicks = 0;
        r->OnClick = [&](TObject*) { ++clicks; };
        sibling->OnClick = [&](TObject*) { ++siblingClicks; };

        r->SetChecked(c.Value);
        EXPECT_EQ(clicks, c.Clicks) << c.Name;
        EXPECT_EQ(siblingClicks, 0) << c.Name << ": unchecking a sibling raises nothing";
        EXPECT_EQ(r->Checked(), c.Value) << c.Name;
        EXPECT_EQ(r->Radio()->isChecked(), c.Value) << c.Name;
        r->Free();
        sibling->Free();
    }
}

TEST_F(StdControlsTest, UserClickChecksOnceAndAClickOnTheCheckedOneDoesNothing) {
    TRadioButton* usb = AddRadio(panel, "USB Powered", 56);
    TRadioButton* ext = AddRadio(panel, "External Powered", 72);
    usb->SetChecked(true);
    ShowAndPump();
    int usbClicks = 0;
    int extClicks = 0;
    usb->OnClick = [&](TObject*) { ++usbClicks; };
    ext->OnClick = [&](TObject*) { ++extClicks; };

    ext->Radio()->click();
    EXPECT_TRUE(ext->Checked());
    EXPECT_FALSE(usb->Checked());
    EXPECT_FALSE(usb->Radio()->isChecked());
    EXPECT_EQ(extClicks, 1);

    ext->Radio()->click();
    EXPECT_TRUE(ext->Checked());
    EXPECT_TRUE(ext->Radio()->isChecked()) << "Qt must not toggle a checked radio button off";
    EXPECT_EQ(extClicks, 1);
    EXPECT_EQ(usbClicks, 0);
}

TEST_F(StdControlsTest, SpaceBarChecksTheFocusedRadioButton) {
    TRadioButton* usb = AddRadio(panel, "USB Powered", 56);
    TRadioButton* ext = AddRadio(panel, "External Powered", 72);
    usb->SetChecked(true);
    ShowAndPump();
    int clicks = 0;
    ext->OnClick = [&](TObject*) { ++clicks; };

    QKeyEvent press(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, " ");
    QApplication::sendEvent(ext->Radio(), &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, " ");
    QApplication::sendEvent(ext->Radio(), &release);

    EXPECT_TRUE(ext->Checked());
    EXPECT_FALSE(usb->Checked());
    EXPECT_EQ(clicks, 1);
}

TEST_F(StdControlsTest, AutoSizedLabelKeepsTheEdgeItIsAlignedTo) {
    struct Case {
        const char* Name;
        TAlignment Alignment;
        // Where the kept point lies for bounds from left to right.
        std::function<int(int left, int right)> Kept;
    };
    const Case cases[] = {
        {"left", taLeftJustify, [](int left, int) { return left; }},
        {"right", taRightJustify, [](int, int right) { return right; }},
        {"centre", taCenter, [](int left, int right) { return (left + right) / 2; }},
    };
    for (const Case& c : cases) {
        TLabel* label = AddLabel("VEXT", Bounds(100, 16, 200, 17));
        label->SetAlignment(c.Alignment);
        const int kept = c.Kept(100, 300);

        label->SetAutoSize(true);
        const int shortWidth = label->Width();
        EXPECT_GT(shortWidth, 0) << c.Name;
        EXPECT_LT(shortWidth, 200) << c.Name;
        EXPECT_NEAR(c.Kept(label->Left(), label->Left() + label->Width()), kept, 1) << c.Name;

        label->SetCaption("External Powered");
        EXPECT_GT(label->Width(), shortWidth) << c.Name;
        EXPECT_NEAR(c.Kept(label->Left(), label->Left() + label->Width()), kept, 1) << c.Name;
        label->Free();
    }
}

TEST_F(StdControlsTest, LabelWithoutAutoSizeKeepsItsBounds) {
    TLabel* label = AddLabel("VEXT", Bounds(0, 16, 49, 17));
    label->SetCaption("A much longer caption than fits");
    label->SetAlignment(taRightJustify);
    label->Font().SetHeight(-20);
    EXPECT_EQ(label->BoundsRect(), Bounds(0, 16, 49, 17));
}

TEST_F(StdControlsTest, LabelDrawsItsTextAtTheAlignedSide) {
    struct Case {
        const char* Name;
        TAlignment Alignment;
        std::function<bool(int first, int last)> Fits;
    };
    // The label spans x = 20 to 140.
    const Case cases[] = {
        {"left", taLeftJustify, [](int first, int last) { return first <= 22 && last < 100; }},
        {"right", taRightJustify, [](int first, int last) { return first > 60 && last >= 136; }},
        {"centre", taCenter, [](int first, int last) { return std::abs((first + last) / 2 - 80) <= 3; }},
    };
    for (const Case& c : cases) {
        TLabel* label = AddLabel("VEXT", Bounds(20, 16, 120, 17));
        label->SetAlignment(c.Alignment);
        ShowAndPump();
        const auto [first, last] = InkColumns(label->BoundsRect());
        ASSERT_GE(first, 0) << c.Name << ": nothing drawn";
        EXPECT_TRUE(c.Fits(first, last)) << c.Name << ": text from x = " << first << " to " << last;
        label->Free();
    }
}

TEST_F(StdControlsTest, DisabledLabelGreysItsText) {
    TLabel* enabled = AddLabel("VUSB", Bounds(20, 16, 60, 17));
    TLabel* disabled = AddLabel("VUSB", Bounds(20, 48, 60, 17));
    disabled->SetEnabled(false);
    ShowAndPump();
    EXPECT_LT(Darkest(enabled->BoundsRect()), 60);
    EXPECT_GE(Darkest(disabled->BoundsRect()), GetRValue(ColorToRGB(clGrayText)) - 8);
    EXPECT_LT(Darkest(disabled->BoundsRect()), 255) << "the disabled text is still drawn";
}

TEST_F(StdControlsTest, ControlsTakeTheWindowFontUntilGivenTheirOwn) {
    TLabel* label = AddLabel("VEXT", Bounds(0, 16, 49, 17));
    label->SetAutoSize(true);
    TRadioButton* radio = AddRadio(panel, "USB Powered", 56);
    TLabel* own = AddLabel("Own", Bounds(0, 80, 49, 17));
    own->Font().SetHeight(-9);
    EXPECT_FALSE(own->ParentFont()) << "setting a font ends inheriting one";
    const int smallHeight = label->Height();

    form->Font().SetName("MS Sans Serif");
    form->Font().SetHeight(-20);

    for (const TControl* c : std::initializer_list<const TControl*>{panel, label, radio}) {
        EXPECT_EQ(c->Font().Height(), -20) << c->ClassName();
        EXPECT_EQ(c->Font().Name(), "MS Sans Serif") << c->ClassName();
    }
    EXPECT_EQ(radio->Radio()->font().pixelSize(), 20);
    EXPECT_GT(label->Height(), smallHeight) << "an auto-sized label grows with its font";
    EXPECT_EQ(own->Font().Height(), -9);

    // The old face name stands for a sans-serif family this system has.
    const QFontInfo resolved(label->Font().ToQFont());
    EXPECT_EQ(resolved.family(), label->Font().ToQFont().family());
    EXPECT_FALSE(resolved.fixedPitch());
    EXPECT_NE(resolved.family(), "MS Sans Serif");
}

TEST_F(StdControlsTest, LabelReadFromADescriptionIsSizedOnceLoaded) {
    TClassRegistry registry;
    RegisterPlatformClasses(registry);
    TForm* described = new TForm(&app);
    ReadDescription(*described, R"({"class": "TForm", "name": "Described", "children": [
        {"class": "TLabel", "name": "Right", "properties": {
            "Left": 100, "Top": 0, "Width": 200, "Alignment": "taRightJustify", "Caption": "VEXT"}},
        {"class": "TLabel", "name": "Fixed", "properties": {
            "Left": 0, "Top": 16, "Width": 49, "Height": 17, "AutoSize": false, "Caption": "VUSB"}}]})",
                    registry, {}, nullptr);

    auto* right = described->Find<TLabel>("Right");
    ASSERT_NE(right, nullptr);
    EXPECT_LT(right->Width(), 200);
    EXPECT_EQ(right->Left() + right->Width(), 300);
    auto* fixed = described->Find<TLabel>("Fixed");
    ASSERT_NE(fixed, nullptr);
    EXPECT_EQ(fixed->BoundsRect(), Bounds(0, 16, 49, 17));
}

// A 4 x 2 picture: red, green, blue, white over black, yellow, lime, lime.
std::unique_ptr<TBitmap> MakePicture() {
    auto b = std::make_unique<TBitmap>(4, 2);
    const TColor colours[2][4] = {{clRed, clGreen, clBlue, clWhite}, {clBlack, clYellow, clLime, clLime}};
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 4; ++x) {
            b->Canvas().SetPixel(x, y, colours[y][x]);
        }
    }
    return b;
}

TEST_F(StdControlsTest, AutoSizedImageTakesThePictureSize) {
    struct Case {
        const char* Name;
        bool AutoSizeFirst;  // before the picture arrives
        bool AutoSizeAfter;
        int Width;
        int Height;
    };
    const Case cases[] = {
        {"auto size, then picture", true, true, 4, 2},
        {"picture, then auto size", false, true, 4, 2},
        {"no auto size", false, false, 30, 20},
    };
    const auto picture = MakePicture();
    for (const Case& c : cases) {
        auto* image = new TImage(form);
        image->SetParent(panel);
        image->SetBounds(10, 10, 30, 20);
        image->SetAutoSize(c.AutoSizeFirst);
        image->Picture()->SetGraphic(picture.get());
        image->SetAutoSize(c.AutoSizeAfter);
        EXPECT_EQ(image->Width(), c.Width) << c.Name;
        EXPECT_EQ(image->Height(), c.Height) << c.Name;
        image->Free();
    }
}

TEST_F(StdControlsTest, ImageDrawsThePictureAtTheCornerCentredOrStretched) {
    struct Case {
        const char* Name;
        bool Stretch;
        bool Center;
        // Points of the image and the colour each should show.
        std::vector<std::pair<TPoint, TColor>> Expected;
    };
    const Case cases[] = {
        {"corner", false, false, {{{0, 0}, clRed}, {{3, 1}, clLime}, {{4, 0}, clWhite}, {{0, 2}, clWhite}}},
        {"centred", false, true, {{{2, 2}, clRed}, {{5, 3}, clLime}, {{1, 2}, clWhite}, {{2, 1}, clWhite}}},
        {"stretched", true, false, {{{0, 0}, clRed}, {{1, 2}, clRed}, {{7, 5}, clLime}, {{2, 0}, clGreen}}},
    };
    const auto picture = MakePicture();
    for (const Case& c : cases) {
        auto* image = new TImage(form);
        image->SetParent(panel);
        image->SetBounds(10, 10, 8, 6);
        image->SetStretch(c.Stretch);
        image->SetCenter(c.Center);
        image->Picture()->SetGraphic(picture.get());
        ShowAndPump();
        for (const auto& [at, colour] : c.Expected) {
            EXPECT_EQ(PanelPixel(10 + at.X, 10 + at.Y), colour) << c.Name << " at " << at.X << ", " << at.Y;
        }
        image->Free();
    }
}

TEST_F(StdControlsTest, TransparentImageLeavesItsBottomLeftColourUndrawn) {
    // The picture's bottom-left pixel is black: black pixels let the panel
    // through, wherever the transparency was set.
    for (const bool beforePicture : {true, false}) {
        const auto picture = MakePicture();
        auto* image = new TImage(form);
        image->SetParent(panel);
        image->SetBounds(10, 10, 4, 2);
        if (beforePicture) {
            image->SetTransparent(true);
        }
        image->Picture()->SetGraphic(picture.get());
        if (!beforePicture) {
            image->SetTransparent(true);
        }
        ShowAndPump();
        EXPECT_EQ(PanelPixel(10, 11), clWhite) << "transparency set before the picture: " << beforePicture;
        EXPECT_EQ(PanelPixel(11, 11), clYellow);
        EXPECT_EQ(PanelPixel(10, 10), clRed);

        image->SetTransparent(false);
        app.PumpUntilIdle();
        EXPECT_EQ(PanelPixel(10, 11), clBlack);
        image->Free();
    }
}

}  // namespace
}  // namespace kx
