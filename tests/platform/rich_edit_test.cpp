// The rich-text view: RTF in, formatted text shown, and the view's own
// settings (read-only, scroll bars, background).

#include <gtest/gtest.h>
#include <QApplication>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextFragment>

#include <string>

#include "platform/application.h"
#include "platform/form.h"
#include "platform/rich_edit.h"

namespace kx {
namespace {

class RichEditTest : public ::testing::Test {
protected:
    void SetUp() override {
        Form = new TForm(&app);
        Rich = new TRichEdit(Form);
        Rich->SetParent(Form);
        Rich->SetBounds(0, 0, 200, 80);
    }

    TApplication app;
    TForm* Form = nullptr;
    TRichEdit* Rich = nullptr;
};

// The first fragment of the document whose text starts with the given text.
QTextFragment FragmentStarting(const QTextDocument& doc, const QString& text) {
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            if (it.fragment().text().startsWith(text)) {
                return it.fragment();
            }
        }
    }
    return {};
}

TEST_F(RichEditTest, ShowsTheDocumentWithItsFormatting) {
    Rich->LoadRtf(
        "{\\rtf1\\ansi{\\fonttbl{\\f0\\fswiss Verdana;}}{\\colortbl\\red64\\green64\\blue64;\\red255\\green64"
        "\\blue64;}\\f0\\fs32\\cf0{\\b Title}\\par\\fs24 Plain {\\cf1\\b red} text\\par}");
    EXPECT_EQ(Rich->Text(), "Title\r\nPlain red text\r\n");
    const QTextDocument& doc = *Rich->Editor()->document();
    const QTextFragment title = FragmentStarting(doc, "Title");
    ASSERT_TRUE(title.isValid());
    EXPECT_EQ(title.charFormat().fontWeight(), QFont::Bold);
    EXPECT_DOUBLE_EQ(title.charFormat().fontPointSize(), 16.0);
    EXPECT_EQ(title.charFormat().foreground().color(), QColor(64, 64, 64));
    const QTextFragment red = FragmentStarting(doc, "red");
    ASSERT_TRUE(red.isValid());
    // Red does not read on the white view; it shows as a marker behind black text.
    EXPECT_EQ(red.charFormat().background().color(), QColor(255, 64, 64));
    EXPECT_EQ(red.charFormat().foreground().color(), QColor(Qt::black));
    EXPECT_EQ(red.charFormat().fontWeight(), QFont::Bold);
    const QTextFragment plain = FragmentStarting(doc, "Plain");
    ASSERT_TRUE(plain.isValid());
    EXPECT_NE(plain.charFormat().fontWeight(), QFont::Bold);
    EXPECT_DOUBLE_EQ(plain.charFormat().fontPointSize(), 12.0);
}

TEST_F(RichEditTest, LoadingReplacesTheContentAndStartsAtTheTop) {
    std::string longDoc = "{\\rtf1 ";
    for (int i = 0; i < 60; ++i) {
        longDoc += "Line " + std::to_string(i) + "\\par ";
    }
    longDoc += "}";
    Rich->LoadRtf(longDoc);
    Rich->LoadRtf("{\\rtf1 Second}");
    EXPECT_EQ(Rich->Text(), "Second");
    Rich->LoadRtf(longDoc);
    EXPECT_EQ(Rich->Editor()->textCursor().position(), 0);
    EXPECT_EQ(Rich->Editor()->verticalScrollBar()->value(), 0);
}

TEST_F(RichEditTest, MalformedDocumentsShowWhatCanBeRead) {
    const struct {
        const char* Name;
        std::string Rtf;
        std::string Text;
    } cases[] = {
        {"Truncated", "{\\rtf1 Hello {\\b wor", "Hello wor"},
        {"ExtraClosingBraces", "{\\rtf1 A}}}} B", "A B"},
        {"HugeNumber", "{\\rtf1\\fs99999999999999999999 Big}", "Big"},
        {"DeepNesting", "{\\rtf1 " + std::string(5000, '{') + "deep" + std::string(5000, '}') + "}", "deep"},
        {"NotRtfAtAll", "plain words", "plain words"},
        {"Empty", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        Rich->LoadRtf(c.Rtf);
        EXPECT_EQ(Rich->Text(), c.Text);
    }
}

TEST_F(RichEditTest, ReadOnlyScrollBarsAndBackground) {
    EXPECT_FALSE(Rich->ReadOnly());
    EXPECT_EQ(Rich->ScrollBars(), ssNone);
    EXPECT_EQ(Rich->Editor()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);

    Rich->SetReadOnly(true);
    Rich->SetScrollBars(ssVertical);
    Rich->SetColor(0xDDDDDD);
    EXPECT_TRUE(Rich->Editor()->isReadOnly());
    EXPECT_EQ(Rich->Editor()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(Rich->Editor()->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_EQ(Rich->Editor()->palette().color(QPalette::Base), QColor(0xDD, 0xDD, 0xDD));
    // A read-only view still takes the focus, so the keyboard can scroll it.
    EXPECT_EQ(Rich->Editor()->focusPolicy(), Qt::StrongFocus);

    Rich->SetScrollBars(ssBoth);
    EXPECT_EQ(Rich->Editor()->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    Rich->SetColor(clWindow);
    EXPECT_EQ(Rich->Editor()->palette().color(QPalette::Base), QPalette().color(QPalette::Base));
}

// A coloured run keeps its colour as text where that reads on the view's background, and shows it as a
// marker behind black or white text where it does not; a new background decides afresh.
TEST_F(RichEditTest, ColouredRunsStayReadableOnTheBackground) {
    Rich->LoadRtf(
        "{\\rtf1{\\colortbl\\red64\\green64\\blue64;\\red255\\green255\\blue64;\\red64\\green64"
        "\\blue255;}\\cf0 grey {\\cf1 yellow} {\\cf2 blue}\\par}");
    const QColor grey(64, 64, 64);
    const QColor yellow(255, 255, 64);
    const QColor blue(64, 64, 255);
    const QColor none;
    struct TCase {
        const char* Name;
        TColor Base;
        const char* Word;
        QColor Text;
        QColor Marker;
    };
    const TCase cases[] = {
        {"light grey view", 0xDDDDDD, "grey", grey, none},
        {"light grey view", 0xDDDDDD, "yellow", Qt::black, yellow},
        {"light grey view", 0xDDDDDD, "blue", blue, none},
        {"dark view", RGB(0x2a, 0x2a, 0x2a), "grey", Qt::white, grey},
        {"dark view", RGB(0x2a, 0x2a, 0x2a), "yellow", yellow, none},
        {"dark view", RGB(0x2a, 0x2a, 0x2a), "blue", Qt::white, blue},
        {"white view", clWhite, "grey", grey, none},
        {"white view", clWhite, "yellow", Qt::black, yellow},
        {"white view", clWhite, "blue", blue, none},
    };
    for (const TCase& c : cases) {
        Rich->SetColor(c.Base);
        const QTextFragment f = FragmentStarting(*Rich->Editor()->document(), c.Word);
        ASSERT_TRUE(f.isValid()) << c.Name << ", " << c.Word;
        EXPECT_EQ(f.charFormat().foreground().color(), c.Text) << c.Name << ", " << c.Word;
        const bool marked = f.charFormat().hasProperty(QTextFormat::BackgroundBrush);
        EXPECT_EQ(marked, c.Marker.isValid()) << c.Name << ", " << c.Word;
        if (marked && c.Marker.isValid()) {
            EXPECT_EQ(f.charFormat().background().color(), c.Marker) << c.Name << ", " << c.Word;
        }
    }
}

TEST_F(RichEditTest, UserCannotTypeIntoAReadOnlyView) {
    Rich->LoadRtf("{\\rtf1 Fixed}");
    Rich->SetReadOnly(true);
    Form->Show();
    Rich->SetFocus();
    QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, "x");
    QApplication::sendEvent(Rich->Editor(), &press);
    EXPECT_EQ(Rich->Text(), "Fixed");
}

}  // namespace
}  // namespace kx
