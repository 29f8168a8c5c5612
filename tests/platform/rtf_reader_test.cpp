#include "platform/rtf_reader.h"

#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>

#include "platform/font.h"

namespace kx {
namespace {

// The help window's document, put together line by line as the setup
// supporter does, for TALVOR's KX-7040 with the multi-port note and the
// cards-list sentence.
std::string HelpDocument() {
    const std::string company = "TALVOR";
    const std::string card = "KX-7040";
    const std::string series = " Series";
    const std::vector<std::string> lines = {
        R"({\rtf1\ansi\ansicpg1252\deff0\deflang1033{\fonttbl{\f0\fswiss\fprq2\fcharset0 Verdana;}})"
        R"({\colortbl\red64\green64\blue64;\red255\green255\blue64;\red64\green64\blue255;\red255\green64\blue64;})"
        R"(\viewkind4\uc1\pard\f0\fs32\cf0)",
        R"({\b )" + company + " " + card + series + R"( Settings Program}\par\par\fs24)",
        R"(This program will help you configure the option jumpers and settings associated with this )"
        R"(product. You should have the product in-hand when first using this program.\par\par)",
        R"({\cf1\fs24\b Yellow circles} provide information on configuring jumpers and switches.\par\par)",
        R"({\cf2\fs24\b Blue circles} are informational only. They provide information on standard and )"
        R"(optional features of the product family.\par\par)",
        R"({\cf3\fs24\b Red circles} handle calibration and types of configuration that require actually )"
        R"(controlling the hardware device. Run this settings program again once the card is installed. )"
        R"(Repeat the {\cf1 setup circles} (using the same settings) to configure this program, then )"
        R"(perform the {\cf3 calibration circles}.\par\par)",
        R"(Mouse over the highlight circles to see configuration or information popups for {\cf1 setup}, )"
        R"({\cf2 features}, and {\cf3 calibration}. Click a highlight circle to make its popup remain )"
        R"(on-screen. You can have all or as many of these popups onscreen at the same time as you )"
        R"(desire.\par\par)",
        R"({\fs32\b Note:} Make sure to set the jumpers for each option group \emdash  the configuration )"
        R"(options for each port are handled identically; this program only shows the setup once, but you )"
        R"(need to perform this setup for each group of options on your device.\par\par)",
        "To see a list of " + card + " cards installed, click \"Display " + card +
            R"( Cards Installed" under the File menu.\par\par)",
        "}",
    };
    std::string rtf;
    for (const std::string& line : lines) {
        if (!rtf.empty()) {
            rtf += "\r\n";
        }
        rtf += line;
    }
    return rtf;
}

const std::vector<QString> kHelpParagraphs = {
    "TALVOR KX-7040 Series Settings Program",
    "",
    "This program will help you configure the option jumpers and settings associated with this product. "
    "You should have the product in-hand when first using this program.",
    "",
    "Yellow circles provide information on configuring jumpers and switches.",
    "",
    "Blue circles are informational only. They provide information on standard and optional features of "
    "the product family.",
    "",
    "Red circles handle calibration and types of configuration that require actually controlling the "
    "hardware device. Run this settings program again once the card is installed. Repeat the setup circles "
    "(using the same settings) to configure this program, then perform the calibration circles.",
    "",
    "Mouse over the highlight circles to see configuration or information popups for setup, features, and "
    "calibration. Click a highlight circle to make its popup remain on-screen. You can have all or as many "
    "of these popups onscreen at the same time as you desire.",
    "",
    QString::fromUtf16(u"Note: Make sure to set the jumpers for each option group \u2014 the configuration "
                       u"options for each port are handled identically; this program only shows the setup "
                       u"once, but you need to perform this setup for each group of options on your device."),
    "",
    "To see a list of KX-7040 cards installed, click \"Display KX-7040 Cards Installed\" under the File "
    "menu.",
    "",
    "",
};

std::vector<QString> Texts(const std::vector<TRtfParagraph>& paragraphs) {
    std::vector<QString> texts;
    for (const TRtfParagraph& paragraph : paragraphs) {
        texts.push_back(paragraph.Text());
    }
    return texts;
}

QString Joined(const std::vector<QString>& texts) {
    return QStringList(texts.begin(), texts.end()).join('\n');
}

// The document's text block by block; unlike toPlainText it keeps line
// separators and no-break spaces as they are.
QString BlockTexts(const QTextDocument& doc) {
    std::vector<QString> texts;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        texts.push_back(block.text());
    }
    return Joined(texts);
}

// The format of the document fragment whose text is exactly text.
QTextCharFormat FragmentFormat(const QTextDocument& doc, const QString& text) {
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (it.fragment().text() == text) {
                return it.fragment().charFormat();
            }
        }
    }
    ADD_FAILURE() << "no fragment reads \"" << text.toStdString() << "\"";
    return {};
}

class HelpDocumentTest : public ::testing::Test {
protected:
    void SetUp() override { LoadRtf(HelpDocument(), m_doc); }

    QTextDocument m_doc;
};

TEST_F(HelpDocumentTest, EveryParagraphReadsAsWritten) {
    EXPECT_EQ(Texts(ParseRtf(HelpDocument())), kHelpParagraphs);
    ASSERT_EQ(m_doc.blockCount(), static_cast<int>(kHelpParagraphs.size()));
    for (int i = 0; i < m_doc.blockCount(); ++i) {
        EXPECT_EQ(m_doc.findBlockByNumber(i).text(), kHelpParagraphs[i]) << "block " << i;
    }
}

TEST_F(HelpDocumentTest, EmDashKeepsExactlyOneBlankAfterIt) {
    const QString note = m_doc.findBlockByNumber(12).text();
    EXPECT_TRUE(note.contains(QString::fromUtf16(u"group \u2014 the configuration"))) << note.toStdString();
    EXPECT_FALSE(note.contains(QString::fromUtf16(u"\u2014  "))) << note.toStdString();
}

TEST_F(HelpDocumentTest, TitleIsBoldSixteenPointDarkGrey) {
    const QTextCharFormat title = FragmentFormat(m_doc, "TALVOR KX-7040 Series Settings Program");
    EXPECT_EQ(title.fontWeight(), QFont::Bold);
    EXPECT_DOUBLE_EQ(title.fontPointSize(), 16.0);
    EXPECT_EQ(title.foreground().color(), QColor(64, 64, 64));
}

struct TFormattedWords {
    const char* Text;
    bool Bold;
    double Points;
    QColor Color;
};

TEST_F(HelpDocumentTest, ColouredWordsHaveTheirTableColours) {
    const TFormattedWords cases[] = {
        {"Yellow circles", true, 12, QColor(255, 255, 64)},
        {"Blue circles", true, 12, QColor(64, 64, 255)},
        {"Red circles", true, 12, QColor(255, 64, 64)},
        {"setup circles", false, 12, QColor(255, 255, 64)},
        {"calibration circles", false, 12, QColor(255, 64, 64)},
        {"features", false, 12, QColor(64, 64, 255)},
        {" provide information on configuring jumpers and switches.", false, 12, QColor(64, 64, 64)},
        {"Note:", true, 16, QColor(64, 64, 64)},
    };
    for (const TFormattedWords& c : cases) {
        SCOPED_TRACE(c.Text);
        const QTextCharFormat format = FragmentFormat(m_doc, c.Text);
        EXPECT_EQ(format.fontWeight(), c.Bold ? QFont::Bold : QFont::Normal);
        EXPECT_DOUBLE_EQ(format.fontPointSize(), c.Points);
        EXPECT_EQ(format.foreground().color(), c.Color);
    }
}

TEST_F(HelpDocumentTest, EveryFragmentUsesTheFamilySubstitutedForVerdana) {
    const QStringList expected{TFont::SubstituteFamily("Verdana")};
    for (QTextBlock block = m_doc.begin(); block.isValid(); block = block.next()) {
        EXPECT_EQ(block.charFormat().fontFamilies().toStringList(), expected);
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            EXPECT_EQ(it.fragment().charFormat().fontFamilies().toStringList(), expected)
                << it.fragment().text().toStdString();
        }
    }
}

// An empty paragraph is as tall as the formatting at its mark: the blank
// line under the title is still 16 point, the one under the body 12.
TEST_F(HelpDocumentTest, EmptyParagraphsTakeTheFormatOfTheirMark) {
    EXPECT_DOUBLE_EQ(m_doc.findBlockByNumber(1).charFormat().fontPointSize(), 16.0);
    EXPECT_DOUBLE_EQ(m_doc.findBlockByNumber(3).charFormat().fontPointSize(), 12.0);
}

TEST(RtfReaderTest, LoadingReplacesThePreviousContent) {
    QTextDocument doc;
    doc.setPlainText("old\ntext\nhere");
    LoadRtf(R"({\rtf1 new})", doc);
    EXPECT_EQ(doc.toPlainText(), "new");
    EXPECT_FALSE(doc.isUndoAvailable());
}

struct TTextCase {
    const char* Name;
    std::string Rtf;
    std::u16string Text;  // paragraphs joined by '\n'
};

void PrintTo(const TTextCase& c, std::ostream* os) {
    *os << c.Name;
}

class RtfTextTest : public ::testing::TestWithParam<TTextCase> {};

TEST_P(RtfTextTest, ReadsTheText) {
    const QString expected = QString::fromStdU16String(GetParam().Text);
    EXPECT_EQ(Joined(Texts(ParseRtf(GetParam().Rtf))), expected);
    QTextDocument doc;
    LoadRtf(GetParam().Rtf, doc);
    EXPECT_EQ(BlockTexts(doc), expected);
}

std::string Repeated(const std::string& piece, int count) {
    std::string s;
    for (int i = 0; i < count; ++i) {
        s += piece;
    }
    return s;
}

INSTANTIATE_TEST_SUITE_P(
    Characters, RtfTextTest,
    ::testing::Values(
        TTextCase{"SpaceEndsTheWordAndOnlyOne", R"({\rtf1 a\emdash  b\endash c})", u"a\u2014 b\u2013c"},
        TTextCase{"OtherDelimitersStayText", R"({\rtf1\b0;x\b-y})", u";x-y"},
        TTextCase{"QuotesAndBullet", R"({\rtf1\lquote a\rquote\ldblquote b\rdblquote\bullet})",
                  u"\u2018a\u2019\u201Cb\u201D\u2022"},
        TTextCase{"ControlSymbols", R"({\rtf1 \\\{\}\~\_\-})", u"\\{}\u00A0\u2011\u00AD"},
        TTextCase{"HexBytesAreCodePage1252", R"({\rtf1 \'e9\'80\'9f\'81})", u"\u00E9\u20AC\u0178\uFFFD"},
        TTextCase{"RawHighBytesAreCodePage1252", "{\\rtf1 \x93q\x94\xe9}", u"\u201Cq\u201D\u00E9"},
        TTextCase{"LineTabAndParagraphs", R"({\rtf1 a\line b\tab c\par d\cell e\row f})",
                  u"a\u2028b\tc\nd\te\nf"},
        TTextCase{"BackslashBeforeLineBreakIsParagraph", "{\\rtf1 a\\\r\nb}", u"a\nb"},
        TTextCase{"LineBreaksOfTheFileAreNotText", "{\\rtf1 a\r\nb\rc\nd}", u"abcd"},
        TTextCase{"UnicodeSkipsOneFallbackByDefault", R"({\rtf1 \u8364?x})", u"\u20ACx"},
        TTextCase{"UnicodeSkipCountsHexAndWords", R"({\rtf1\uc2 \u8364\'80\par x\uc0\u8364 y})",
                  u"\u20ACx\u20ACy"},
        TTextCase{"UnicodeSkipStopsAtGroupEnd", R"({\rtf1{\uc3\u8364?}x})", u"\u20ACx"},
        TTextCase{"NegativeUnicodeIsSixteenBit", R"({\rtf1\u-4064?})", u"\uF020"},
        TTextCase{"SurrogatePairJoins", R"({\rtf1\u-10179?\u-8704?})", u"\U0001F600"},
        TTextCase{"LoneSurrogatesAreReplaced", R"({\rtf1\u-10179?x\u-8704?})", u"\uFFFDx\uFFFD"},
        TTextCase{"UnknownWordsAndParametersAreIgnored", R"({\rtf1\viewkind4\foo123 a\bar-5 b\sa200 c})",
                  u"abc"}),
    [](const ::testing::TestParamInfo<TTextCase>& info) { return std::string(info.param.Name); });

INSTANTIATE_TEST_SUITE_P(
    Destinations, RtfTextTest,
    ::testing::Values(
        TTextCase{"IgnorableDestinationsAreSkipped", R"({\rtf1{\*\generator Riched20;}a{\*\unknown {b} c}d})",
                  u"ad"},
        TTextCase{"InfoAndStylesheetAreSkipped",
                  R"({\rtf1{\info{\title T}{\author A}}{\stylesheet{\s0 Normal;}}text})", u"text"},
        TTextCase{"HeaderAndFooterAreSkipped", R"({\rtf1{\header H\par}{\footer F}body})", u"body"},
        TTextCase{"BinaryDataMayHoldBraces", "{\\rtf1{\\pict\\bin4 }}{x}after}", u"after"},
        TTextCase{"EscapedBracesInsideASkippedGroup", R"({\rtf1{\*\x \} \{ {\}}}a})", u"a"},
        TTextCase{"FieldResultIsText", R"({\rtf1{\field{\*\fldinst HYPERLINK "x"}{\fldrslt link}}})",
                  u"link"},
        TTextCase{"TablesAreNotText",
                  R"({\rtf1{\fonttbl{\f0 Arial;}{\f1 Times;}}{\colortbl;\red1\green2\blue3;}x})", u"x"}),
    [](const ::testing::TestParamInfo<TTextCase>& info) { return std::string(info.param.Name); });

INSTANTIATE_TEST_SUITE_P(
    Malformed, RtfTextTest,
    ::testing::Values(
        TTextCase{"MissingClosingBraces", R"({\rtf1{\b bold{\i more)", u"boldmore"},
        TTextCase{"ExtraClosingBraces", R"(}}{\rtf1 a}}} b})", u"a b"},
        TTextCase{"MissingRtfHeader", R"(plain {\b words})", u"plain words"},
        TTextCase{"HugeParameters", R"({\rtf1\fs999999999999 a\cf99999999999999999999 b\f-99999999999999 c})",
                  u"abc"},
        TTextCase{"WildUnicodeValues",
                  R"({\rtf1\uc0\u-99999999 \u70000 \u-32769 \u65535 \u0 \u65532 \u64976 .})",
                  u"\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD."},
        TTextCase{"UnicodeParagraphSeparatorEndsTheParagraph", R"({\rtf1\uc0 a\u8233 b})", u"a\nb"},
        TTextCase{"HexEscapeAtTheEnd", R"({\rtf1 a\')", u"a"},
        TTextCase{"HexEscapeWithOneDigitAtTheEnd", R"({\rtf1 a\'4)", u"a"},
        TTextCase{"HexEscapeWithoutDigits", R"({\rtf1 a\'zz})", u"azz"},
        TTextCase{"BackslashAtTheEnd", "{\\rtf1 a\\", u"a"},
        TTextCase{"ControlCharactersAreDropped",
                  std::string("{\\rtf1 a\0b\x01\x7f"
                              "c\\'00\\'1b}",
                              22),
                  u"abc"},
        TTextCase{"BinaryLongerThanTheInput", R"({\rtf1 a\bin999999999999 xyz)", u"a"},
        TTextCase{"OverlongControlWord", "{\\rtf1 a\\" + std::string(5000, 'b') + "1 c}", u"ac"},
        TTextCase{"TableOutsideEveryGroupIsNotRead", R"(\fonttbl a;\colortbl b;)", u"a;b;"},
        TTextCase{"SkippedDestinationOutsideEveryGroup", R"(a\info b)", u"ab"},
        TTextCase{"DeepNesting", Repeated("{", 100000) + "deep" + Repeated("}", 100000) + "er", u"deeper"},
        TTextCase{"DeepNestingLeftOpen", R"({\rtf1 )" + Repeated("{x", 100000), std::u16string(100000, u'x')},
        TTextCase{"DestinationBeyondTheDepthLimit",
                  Repeated("{", 2000) + R"({\fonttbl{\f0 Arial;}}{\*\x y}a)" + Repeated("}", 2000) + "b",
                  u"ab"}),
    [](const ::testing::TestParamInfo<TTextCase>& info) { return std::string(info.param.Name); });

struct TFormatCase {
    const char* Name;
    std::string Rtf;
    QString Text;  // found in the run whose format is checked
    TRtfFormat Format;
};

void PrintTo(const TFormatCase& c, std::ostream* os) {
    *os << c.Name;
}

class RtfFormatTest : public ::testing::TestWithParam<TFormatCase> {};

TEST_P(RtfFormatTest, RunHasTheFormat) {
    const std::vector<TRtfParagraph> paragraphs = ParseRtf(GetParam().Rtf);
    const TRtfRun* found = nullptr;
    for (const TRtfParagraph& paragraph : paragraphs) {
        for (const TRtfRun& run : paragraph.Runs) {
            if (run.Text.contains(GetParam().Text)) {
                found = &run;
            }
        }
    }
    ASSERT_NE(found, nullptr) << "no run reads " << GetParam().Text.toStdString();
    const TRtfFormat& expected = GetParam().Format;
    EXPECT_EQ(found->Format.FontName, expected.FontName);
    EXPECT_EQ(found->Format.HalfPoints, expected.HalfPoints);
    EXPECT_EQ(found->Format.Bold, expected.Bold);
    EXPECT_EQ(found->Format.Italic, expected.Italic);
    EXPECT_EQ(found->Format.Color, expected.Color);
}

TRtfFormat Format(const char* fontName = "", int halfPoints = RTF_DEFAULT_HALF_POINTS, bool bold = false,
                  bool italic = false, QColor color = QColor()) {
    return TRtfFormat{fontName, halfPoints, bold, italic, color};
}

const std::string kTables =
    R"({\fonttbl{\f0\fswiss Verdana;}{\f1\froman\fcharset0 Times New Roman;}\f2 Courier New;})"
    R"({\colortbl;\red10\green20\blue30;\red300\green-5\blue255;})";

INSTANTIATE_TEST_SUITE_P(
    Formatting, RtfFormatTest,
    ::testing::Values(
        TFormatCase{"Defaults", R"({\rtf1 a})", "a", Format()},
        TFormatCase{"DefaultFontFromTable", R"({\rtf1\deff1)" + kTables + "a}", "a",
                    Format("Times New Roman")},
        TFormatCase{"FlatFontTableEntry", R"({\rtf1)" + kTables + R"(\f2 a})", "a", Format("Courier New")},
        TFormatCase{"UnknownFontFallsBackToDefault", R"({\rtf1\deff0)" + kTables + R"(\f7 a})", "a",
                    Format("Verdana")},
        TFormatCase{"GroupEndRestoresFormatting", R"({\rtf1)" + kTables + R"(\f1\fs20{\b\i\cf1\f0\fs40 x}a})",
                    "a", Format("Times New Roman", 20)},
        TFormatCase{"InsideTheGroup", R"({\rtf1)" + kTables + R"(\f1\fs20{\b\i\cf1\f0\fs40 x}a})", "x",
                    Format("Verdana", 40, true, true, QColor(10, 20, 30))},
        TFormatCase{"PlainResetsCharacterFormatting", R"({\rtf1)" + kTables + R"(\f1\fs40\b\i\cf1\plain a})",
                    "a", Format("Verdana")},
        TFormatCase{"BoldZeroTurnsBoldOff", R"({\rtf1\b x\b0 a})", "a", Format()},
        TFormatCase{"EmptyFirstColourIsAutomatic", R"({\rtf1)" + kTables + R"(\cf0 a})", "a",
                    Format("Verdana")},
        TFormatCase{"ColourOutOfTableIsAutomatic", R"({\rtf1)" + kTables + R"(\cf9 a})", "a",
                    Format("Verdana")},
        TFormatCase{"ColourComponentsAreClamped", R"({\rtf1)" + kTables + R"(\cf2 a})", "a",
                    Format("Verdana", 24, false, false, QColor(255, 0, 255))},
        TFormatCase{"HugeFontSizeIsClamped", R"({\rtf1\fs999999999999 a})", "a", Format("", 3276)},
        TFormatCase{"NonPositiveFontSizeIsIgnored", R"({\rtf1\fs30\fs0\fs-8 a})", "a", Format("", 30)},
        TFormatCase{"FontSizeWithoutValueIsTwelvePoints", R"({\rtf1\fs30\fs a})", "a", Format()},
        TFormatCase{"FormattingBeyondTheDepthLimitDoesNotLeak",
                    Repeated("{", 1000) + R"({\b\fs60 x}y)" + Repeated("}", 1000), "y", Format()},
        TFormatCase{"FormattingAtTheDepthLimitApplies",
                    Repeated("{", 999) + R"({\b\fs60 x}y)" + Repeated("}", 999), "x", Format("", 60, true)},
        TFormatCase{"FormattingAtTheDepthLimitIsRestored",
                    Repeated("{", 999) + R"({\b\fs60 x}y)" + Repeated("}", 999), "y", Format()}),
    [](const ::testing::TestParamInfo<TFormatCase>& info) { return std::string(info.param.Name); });

// However the help document is cut short, the reader gives the text up to
// the cut and nothing else. The one exception is a cut inside "\pard",
// which leaves "\par", a paragraph mark more at the end.
TEST(RtfReaderTruncationTest, EveryPrefixOfTheHelpDocumentReadsAsAPrefixOfItsText) {
    const std::string rtf = HelpDocument();
    const QString full = Joined(kHelpParagraphs);
    QTextDocument doc;
    for (std::size_t length = 0; length <= rtf.size(); ++length) {
        const std::string prefix = rtf.substr(0, length);
        const QString text = Joined(Texts(ParseRtf(prefix)));
        const bool cutInsidePard = prefix.ends_with("\\par") && rtf.compare(length, 1, "d") == 0;
        const QString expected = cutInsidePard ? text.chopped(1) : text;
        ASSERT_TRUE(full.startsWith(expected)) << "cut after " << length << " bytes: " << text.toStdString();
        LoadRtf(prefix, doc);
        ASSERT_EQ(BlockTexts(doc), text) << "cut after " << length << " bytes";
    }
}

// Random bytes, and random strings over the characters RTF gives meaning,
// which reach far more of the reader's paths than uniform bytes do.
TEST(RtfReaderRandomTest, RandomInputReadsIntoOneBlockPerParagraph) {
    std::mt19937 random(7040);
    const std::string alphabet = "{}\\\\\\'bfsucpar0123456789- ;*\r\nxy";
    for (int round = 0; round < 300; ++round) {
        const bool bytes = round % 2 == 0;
        std::string input(random() % 3000, '\0');
        for (char& c : input) {
            c = bytes ? static_cast<char>(random() & 0xFF) : alphabet[random() % alphabet.size()];
        }
        const std::vector<TRtfParagraph> paragraphs = ParseRtf(input);
        ASSERT_FALSE(paragraphs.empty());
        QTextDocument doc;
        LoadRtf(input, doc);
        ASSERT_EQ(doc.blockCount(), static_cast<int>(paragraphs.size())) << "round " << round;
    }
}

}  // namespace
}  // namespace kx
