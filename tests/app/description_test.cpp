// The board description carried in the program, read back from the live
// components of a freshly built main window, and the reader's refusal of
// descriptions it cannot apply.

#include <functional>
#include <regex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/main_form.h"
#include "platform/description.h"
#include "platform/graphics.h"
#include "platform/image.h"
#include "platform/label.h"
#include "platform/menus.h"
#include "platform/radio_button.h"
#include "setup/board_highlight.h"
#include "setup/board_image.h"
#include "setup/radio_panel.h"
#include "setup/setup_supporter.h"
#include "setup/three_jumper.h"
#include "support/kx_fixture.h"

namespace kx {
namespace {

// The main window as the program builds it at start, before it is shown.
class DescriptionTest : public test::AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        App().CreateForm(form);
    }

    template <typename T>
    T& Get(const std::string& name) const {
        T* c = form->Find<T>(name);
        if (c == nullptr) {
            throw std::runtime_error(name + " is missing or of another class");
        }
        return *c;
    }

    TMainForm* form = nullptr;
};

struct TPlacement {
    const char* Name;
    const char* Class;
    const char* Parent;
    int Index;  // among the parent's children
    int Left;
    int Top;
    int Width;
    int Height;
};

// Every control of the description, where it sits and in which order.
const TPlacement kPlacements[] = {
    {"BoardImage1", "TBoardImage", "MainForm", 0, 200, 32, 600, 536},
    {"PowerPanel", "TRadioPanel", "MainForm", 1, 0, 552, 265, 97},
    {"USBPanel", "TRadioPanel", "MainForm", 2, 0, 280, 186, 9},
    {"LEDPanel", "TRadioPanel", "MainForm", 3, 0, 136, 186, 9},
    {"InputPanel", "TRadioPanel", "MainForm", 4, 760, 352, 193, 9},
    {"FilterPanel", "TRadioPanel", "MainForm", 5, 752, 152, 201, 9},
    {"PowerHighlightSel", "TBoardHighlight", "BoardImage1", 0, 31, 288, 56, 39},
    {"USBHighlight", "TBoardHighlight", "BoardImage1", 1, 0, 192, 105, 89},
    {"PowerHighlightJack", "TBoardHighlight", "BoardImage1", 2, 0, 384, 105, 81},
    {"LedHighlight", "TBoardHighlight", "BoardImage1", 3, 0, 96, 105, 41},
    {"InputHighlight0", "TBoardHighlight", "BoardImage1", 4, 280, 0, 265, 41},
    {"FilterHighlight", "TBoardHighlight", "BoardImage1", 5, 309, 229, 269, 47},
    {"InputHighlight1", "TBoardHighlight", "BoardImage1", 6, 184, 312, 361, 73},
    {"InputHighlight", "TBoardHighlight", "BoardImage1", 7, 184, 456, 361, 73},
    {"Image1", "TImage", "PowerPanel", 0, 136, 24, 112, 48},
    {"Label1", "TLabel", "PowerPanel", 1, 0, 16, 49, 17},
    {"Label2", "TLabel", "PowerPanel", 2, 64, 16, 49, 17},
    {"BusPowerJumper", "TThreeJumper", "PowerPanel", 3, 36, 32, 43, 18},
    {"ExtPowerRadio", "TRadioButton", "PowerPanel", 4, 8, 72, 121, 17},
    {"BusPowerRadio", "TRadioButton", "PowerPanel", 5, 8, 56, 121, 17},
};

TEST_F(DescriptionTest, EveryControlSitsInItsParentInOrder) {
    for (const TPlacement& p : kPlacements) {
        SCOPED_TRACE(p.Name);
        const TControl& c = Get<TControl>(p.Name);
        EXPECT_STREQ(c.ClassName(), p.Class);
        EXPECT_EQ(c.Owner(), form);
        ASSERT_NE(c.Parent(), nullptr);
        EXPECT_EQ(c.Parent()->Name(), p.Parent);
        EXPECT_EQ(c.Parent()->IndexOfControl(&c), p.Index);
        EXPECT_EQ(c.BoundsRect(), Bounds(p.Left, p.Top, p.Width, p.Height));
    }
    // Nothing else was placed on the window, the board or the power panel.
    EXPECT_EQ(form->ControlCount(), 6);
    EXPECT_EQ(Get<TBoardImage>("BoardImage1").ControlCount(), 8);
    EXPECT_EQ(Get<TRadioPanel>("PowerPanel").ControlCount(), 6);
}

TEST_F(DescriptionTest, TopLevelComponentsAreCreatedInTheirOrder) {
    const std::vector<std::string> order = {"BoardImage1", "PowerPanel",  "USBPanel",  "LEDPanel",
                                            "InputPanel",  "FilterPanel", "MainMenu1", "SetSup"};
    int last = -1;
    for (const std::string& name : order) {
        int index = -1;
        for (int i = 0; i < form->ComponentCount(); ++i) {
            if (form->Components(i)->Name() == name) {
                index = i;
            }
        }
        EXPECT_GT(index, last) << name;
        last = index;
    }
    EXPECT_STREQ(Get<TComponent>("MainMenu1").ClassName(), "TMainMenu");
    EXPECT_STREQ(Get<TComponent>("SetSup").ClassName(), "TSetupSupporter");
    EXPECT_EQ(form->Menu(), &Get<TMainMenu>("MainMenu1"));
}

struct TCircleRow {
    const char* Name;
    const char* Title;
    THighlightType Type;
    const char* Panel;
};

TEST_F(DescriptionTest, CirclesCarryTitleTypeAndPanel) {
    const TCircleRow rows[] = {
        {"PowerHighlightSel", "External Power", htSettings, "PowerPanel"},
        {"USBHighlight", "&USB Connector", htOptions, "USBPanel"},
        {"PowerHighlightJack", "External Power", htSettings, "PowerPanel"},
        {"LedHighlight", "LED", htOptions, "LEDPanel"},
        {"InputHighlight0", "Input Header", htOptions, "InputPanel"},
        {"FilterHighlight", "Filter Jumpers", htSettings, "FilterPanel"},
        {"InputHighlight1", "Input Header", htOptions, "InputPanel"},
        {"InputHighlight", "Input Header", htOptions, "InputPanel"},
    };
    for (const TCircleRow& r : rows) {
        SCOPED_TRACE(r.Name);
        const TBoardHighlight& c = Get<TBoardHighlight>(r.Name);
        EXPECT_EQ(c.Title(), r.Title);
        EXPECT_EQ(c.HighlightType(), r.Type);
        EXPECT_EQ(c.RadioPanel(), &Get<TRadioPanel>(r.Panel));
        EXPECT_TRUE(c.CreatePopup());
    }
}

struct TPanelRow {
    const char* Name;
    int TabOrder;
    TStrings Lines;
};

TEST_F(DescriptionTest, PanelsWaitHiddenWithTheirText) {
    const TPanelRow rows[] = {
        {"PowerPanel",
         1,
         {"You can use the provided external power supply for higher current capabilities. To do so, set the "
          "jumper position to VEXT and plug in power before plugging in the USB cable.",
          "",
          "This is only necessary if you need higher current than is provided by the USB bus. For low "
          "current "
          "operations it is recommended that you use the USB bus, and do not plug in the AC adapter."}},
        {"USBPanel", 2, {"The USB connector on this board is a USB type B socket."}},
        {"LEDPanel", 3, {"The LED indicates power and activity."}},
        {"InputPanel",
         4,
         {"The isolated inputs are on this 34-pin header, and also on the screw terminals. In general, you "
          "should "
          "only connect to one or the other, since otherwise the signals will also be connected to each "
          "other."}},
        {"FilterPanel",
         5,
         {"Install these jumpers to activate the filters on corresponding inputs. The filters are required "
          "for AC "
          "inputs, and optional for DC inputs."}},
    };
    for (const TPanelRow& r : rows) {
        SCOPED_TRACE(r.Name);
        const TRadioPanel& p = Get<TRadioPanel>(r.Name);
        EXPECT_EQ(p.Lines(), r.Lines);
        EXPECT_EQ(p.TabOrder(), r.TabOrder);
        EXPECT_EQ(p.BevelOuter(), bvNone);
        EXPECT_FALSE(p.Visible());
        EXPECT_TRUE(p.Caption().empty());
    }
}

TEST_F(DescriptionTest, BoardImageAndPowerPanelControlsHaveTheirProperties) {
    const TBoardImage& board = Get<TBoardImage>("BoardImage1");
    EXPECT_EQ(board.First(), &Get<TBoardHighlight>("FilterHighlight"));
    EXPECT_EQ(board.Menu(), &Get<TMainMenu>("MainMenu1"));
    EXPECT_FALSE(board.AutoSize());
    EXPECT_TRUE(board.Stretch());
    const auto* photo = dynamic_cast<const TJPEGImage*>(board.Picture()->Graphic());
    ASSERT_NE(photo, nullptr);
    EXPECT_EQ(photo->Width(), 600);
    EXPECT_EQ(photo->Height(), 536);
    EXPECT_TRUE(photo->Progressive());
    EXPECT_EQ(photo->Components(), 3);
    EXPECT_EQ(photo->HSampling(), 2);
    EXPECT_EQ(photo->VSampling(), 2);

    const TImage& jack = Get<TImage>("Image1");
    EXPECT_TRUE(jack.AutoSize());
    const auto* drawing = dynamic_cast<const TBitmap*>(jack.Picture()->Graphic());
    ASSERT_NE(drawing, nullptr);
    EXPECT_EQ(drawing->Width(), 112);
    EXPECT_EQ(drawing->Height(), 48);

    const TLabel& vext = Get<TLabel>("Label1");
    EXPECT_EQ(vext.Caption(), "VEXT");
    EXPECT_EQ(vext.Alignment(), taRightJustify);
    EXPECT_FALSE(vext.AutoSize());
    const TLabel& vusb = Get<TLabel>("Label2");
    EXPECT_EQ(vusb.Caption(), "VUSB");
    EXPECT_EQ(vusb.Alignment(), taLeftJustify);
    EXPECT_FALSE(vusb.AutoSize());

    const TThreeJumper& jumper = Get<TThreeJumper>("BusPowerJumper");
    EXPECT_EQ(jumper.JumperState(), jsRight);
    EXPECT_EQ(jumper.Orientation(), otUp);
    EXPECT_TRUE(jumper.AllowOpen());
    EXPECT_EQ(jumper.BorderStyle(), bsSingle);
    EXPECT_EQ(jumper.BaseColor(), 0x808080);
    EXPECT_EQ(jumper.PinColor(), 0x00FFFF);
    EXPECT_EQ(jumper.JumperColor(), 0x000080);

    const TRadioButton& ext = Get<TRadioButton>("ExtPowerRadio");
    EXPECT_EQ(ext.Caption(), "External Powered");
    EXPECT_FALSE(ext.Checked());
    EXPECT_EQ(ext.TabOrder(), 1);
    const TRadioButton& usb = Get<TRadioButton>("BusPowerRadio");
    EXPECT_EQ(usb.Caption(), "USB Powered");
    EXPECT_TRUE(usb.Checked());
    EXPECT_EQ(usb.TabOrder(), 0);
    EXPECT_TRUE(usb.TabStop());
}

TEST_F(DescriptionTest, PanelsLabelsAndRadioButtonsWearTheWindowFont) {
    for (const char* name :
         {"PowerPanel", "FilterPanel", "Label1", "Label2", "ExtPowerRadio", "BusPowerRadio"}) {
        const TControl& c = Get<TControl>(name);
        EXPECT_TRUE(c.ParentFont()) << name;
        EXPECT_TRUE(c.Font() == form->Font()) << name;
    }
    EXPECT_EQ(form->Font().Name(), "MS Sans Serif");
}

TEST_F(DescriptionTest, PowerControlsAreBoundToTheirHandlersByName) {
    TThreeJumper& jumper = Get<TThreeJumper>("BusPowerJumper");
    TRadioButton& ext = Get<TRadioButton>("ExtPowerRadio");
    TRadioButton& usb = Get<TRadioButton>("BusPowerRadio");
    ASSERT_TRUE(jumper.OnClick);
    ASSERT_TRUE(ext.OnClick);
    ASSERT_TRUE(usb.OnClick);

    // The radio buttons' handler sets the jumper from "USB Powered" alone,
    // whichever button raised it.
    usb.SetChecked(false);
    ext.OnClick(&ext);
    EXPECT_EQ(jumper.JumperState(), jsLeft);
    usb.OnClick(&ext);
    EXPECT_EQ(jumper.JumperState(), jsLeft);

    // The jumper's handler checks the button that matches the cap; its click
    // then sets the jumper again.
    jumper.SetJumperState(jsRight);
    jumper.OnClick(&jumper);
    EXPECT_TRUE(usb.Checked());
    EXPECT_EQ(jumper.JumperState(), jsRight);
}

TEST_F(DescriptionTest, MainMenuHoldsFileAndHelp) {
    struct Row {
        const char* Name;
        const char* Caption;
        const char* ParentItem;  // empty: the menu bar
        int Index;
        bool Handler;
    };
    const Row rows[] = {
        {"File1", "&File", "", 0, false},
        {"Exit2", "&Exit", "File1", 0, true},
        {"Help1", "&Help", "", 1, false},
        {"Howtousethisprogram1", "H&ow to use this program", "Help1", 0, true},
        {"TechnicalSupport1", "&Technical Support", "Help1", 1, true},
    };
    const TMainMenu& menu = Get<TMainMenu>("MainMenu1");
    EXPECT_EQ(menu.Items()->Count(), 2);
    for (const Row& r : rows) {
        SCOPED_TRACE(r.Name);
        const TMenuItem& item = Get<TMenuItem>(r.Name);
        EXPECT_EQ(item.Caption(), r.Caption);
        const TMenuItem* parent = *r.ParentItem == '\0' ? menu.Items() : &Get<TMenuItem>(r.ParentItem);
        EXPECT_EQ(item.Parent(), parent);
        ASSERT_LT(r.Index, parent->Count());
        EXPECT_EQ(parent->Items(r.Index), &item);
        EXPECT_EQ(static_cast<bool>(item.OnClick), r.Handler);
    }
    EXPECT_EQ(Get<TMenuItem>("File1").Count(), 1);
    EXPECT_EQ(Get<TMenuItem>("Help1").Count(), 2);
}

TEST_F(DescriptionTest, SupporterNamesTheCompanyAndTheCard) {
    const TSetupSupporter& sup = Get<TSetupSupporter>("SetSup");
    EXPECT_EQ(sup.CompanyName(), "TALVOR");
    EXPECT_EQ(sup.CardNameA(), "KX-7040");
    EXPECT_EQ(sup.CardNameB(), "KX-7040");
    EXPECT_FALSE(sup.UseCardNameB());
    EXPECT_EQ(sup.CardName(), "KX-7040");
    EXPECT_FALSE(sup.MultiPort());
    EXPECT_EQ(sup.Channels(), 4);
    EXPECT_TRUE(sup.ChangeButtons());
    EXPECT_TRUE(sup.bSeries());
    // Support hours with a time zone, then "at" and a toll-free number.
    EXPECT_TRUE(std::regex_match(
        sup.CallHow(),
        std::regex(
            R"(.*\d.*(Time|[A-Z]{2,4}T) at (\(8(00|33|44|55|66|77|88)\) |1-8(00|33|44|55|66|77|88)-)\d{3}-\d{4})")))
        << sup.CallHow();
    EXPECT_FALSE(sup.OnBeginCalib());
    EXPECT_FALSE(sup.OnGetCardString);
    EXPECT_FALSE(sup.OnGetCalibString);
    EXPECT_FALSE(sup.OnStartButtonClick);
    EXPECT_FALSE(sup.OnStopButtonClick);
}

// A description of the main window with the given children.
std::string Window(const std::string& children) {
    return R"({"class": "TMainForm", "name": "MainForm", "children": [)" + children + "]}";
}

struct TMalformedCase {
    const char* Name;
    std::string Json;
    std::vector<std::string> Mentions;  // what the message must name
};

void PrintTo(const TMalformedCase& c, std::ostream* os) {
    *os << c.Name;
}

class MalformedDescriptionTest : public test::AppFixture,
                                 public ::testing::WithParamInterface<TMalformedCase> {};

TEST_P(MalformedDescriptionTest, IsRefusedWithTheFaultNamed) {
    const TMalformedCase& c = GetParam();
    try {
        new TMainForm(&App(), c.Json);
        FAIL() << "the description was accepted";
    } catch (const EDescriptionError& e) {
        const std::string message = e.what();
        for (const std::string& m : c.Mentions) {
            EXPECT_NE(message.find(m), std::string::npos) << "\"" << message << "\" does not name " << m;
        }
    }
    // The program goes on: the real description still builds.
    TMainForm* fine = nullptr;
    App().CreateForm(fine);
    EXPECT_EQ(fine->BusPowerJumper->JumperState(), jsRight);
}

const std::string kJumper = R"({"class": "TThreeJumper", "name": "Jumper1", "properties": )";

INSTANTIATE_TEST_SUITE_P(
    Faults, MalformedDescriptionTest,
    ::testing::Values(
        TMalformedCase{
            "UnknownClass", Window(R"({"class": "TSlider", "name": "Slider1"})"), {"Slider1", "TSlider"}},
        TMalformedCase{
            "UnknownProperty", Window(kJumper + R"({"PinColour": "clRed"}})"), {"Jumper1.PinColour"}},
        TMalformedCase{
            "DanglingReference",
            Window(R"({"class": "TBoardImage", "name": "Board1", "properties": {"First": "Nowhere"}})"),
            {"Board1.First", "Nowhere"}},
        TMalformedCase{
            "ReferenceToTheWrongClass",
            Window(R"({"class": "TBoardImage", "name": "Board1", "properties": {"Menu": "Board1"}})"),
            {"Board1.Menu", "TBoardImage"}},
        TMalformedCase{"UnknownHandler",
                       Window(kJumper + R"({"OnClick": "JumperMoved"}})"),
                       {"Jumper1.OnClick", "JumperMoved"}},
        TMalformedCase{
            "StringForAnInteger", Window(kJumper + R"({"Left": "36"}})"), {"Jumper1.Left", "\"36\""}},
        TMalformedCase{"IntegerForABoolean", Window(kJumper + R"({"AllowOpen": 1}})"), {"Jumper1.AllowOpen"}},
        TMalformedCase{"UnknownEnumerationValue",
                       Window(kJumper + R"({"JumperState": "jsMiddle"}})"),
                       {"Jumper1.JumperState", "jsMiddle"}},
        TMalformedCase{"UnknownColourName",
                       Window(kJumper + R"({"BaseColor": "clGrey"}})"),
                       {"Jumper1.BaseColor", "clGrey"}},
        TMalformedCase{
            "DuplicateName", Window(kJumper + R"({}}, )" + kJumper + R"({}})"), {"Jumper1", "twice"}},
        TMalformedCase{"ChildOfANonVisualComponent",
                       Window(R"({"class": "TSetupSupporter", "name": "SetSup", "children": [
                                  {"class": "TLabel", "name": "Stray"}]})"),
                       {"Stray", "TSetupSupporter"}},
        TMalformedCase{
            "MissingPicture",
            Window(R"({"class": "TImage", "name": "Image9", "properties": {"Picture": "nothing.bmp"}})"),
            {"Image9.Picture", "nothing.bmp"}},
        TMalformedCase{"FieldOfTheWrongClass",
                       Window(R"({"class": "TLabel", "name": "BusPowerJumper"})"),
                       {"BusPowerJumper", "TLabel"}},
        TMalformedCase{"InvalidJson", R"({"class": "TMainForm", "children": [)", {"JSON"}}),
    [](const ::testing::TestParamInfo<TMalformedCase>& info) { return std::string(info.param.Name); });

}  // namespace
}  // namespace kx
