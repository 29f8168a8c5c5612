// Fonts as a board description names them: the height and point size kept in step at 96 pixels per
// inch, change notification, and the stand-ins for Windows face names on this system.

#include <gtest/gtest.h>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QStringList>

#include "platform/font.h"

namespace kx {
namespace {

TEST(FontSize, FollowsTheHeightAtNinetySixPixelsPerInch) {
    struct TCase {
        int Height;
        int Size;
    };
    // 8.25 points round down, 10.5 (height -14) rounds away from zero as the platform's MulDiv does.
    for (const TCase& c : {TCase{-11, 8}, TCase{-13, 10}, TCase{-14, 11}, TCase{-16, 12}, TCase{-12, 9},
                           TCase{-1, 1}, TCase{0, 0}}) {
        TFont font;
        font.SetHeight(c.Height);
        EXPECT_EQ(font.Size(), c.Size) << "height " << c.Height;
    }
}

TEST(FontSize, SettingTheSizeSetsTheHeight) {
    struct TCase {
        int Size;
        int Height;
    };
    for (const TCase& c : {TCase{8, -11}, TCase{9, -12}, TCase{10, -13}, TCase{12, -16}, TCase{14, -19}}) {
        TFont font;
        font.SetSize(c.Size);
        EXPECT_EQ(font.Height(), c.Height) << "size " << c.Size;
        EXPECT_EQ(font.Size(), c.Size);
    }
}

TEST(FontChange, ReportsEachChangeOnceAndNothingForAnEqualValue) {
    TFont font;
    int changes = 0;
    font.OnChange = [&](TObject*) { ++changes; };
    font.SetHeight(-11);  // the default
    font.SetName("MS Sans Serif");
    font.SetColor(clWindowText);
    font.SetStyle(0);
    font.SetSize(8);
    EXPECT_EQ(changes, 0);
    font.SetName("Verdana");
    font.SetSize(10);
    font.SetColor(clRed);
    font.SetStyle(fsBold | fsItalic);
    EXPECT_EQ(changes, 4);

    TFont copy;
    copy.OnChange = [&](TObject*) { ++changes; };
    copy.Assign(font);
    EXPECT_EQ(changes, 5);
    EXPECT_TRUE(copy == font);
    copy.Assign(font);
    EXPECT_EQ(changes, 5);
}

TEST(FontSubstitute, WindowsFacesMapToInstalledSansFamilies) {
    const QStringList installed = QFontDatabase::families();
    struct TCase {
        const char* Windows;
        const char* Preferred;
    };
    for (const TCase& c : {TCase{"MS Sans Serif", "Liberation Sans"}, TCase{"Arial", "Liberation Sans"},
                           TCase{"Microsoft Sans Serif", "Liberation Sans"}, TCase{"Tahoma", "DejaVu Sans"},
                           TCase{"Verdana", "DejaVu Sans"}, TCase{"verdana", "DejaVu Sans"}}) {
        const QString family = TFont::SubstituteFamily(c.Windows);
        EXPECT_TRUE(installed.contains(family, Qt::CaseInsensitive))
            << c.Windows << " -> " << family.toStdString();
        if (installed.contains(c.Preferred)) {
            EXPECT_EQ(family.toStdString(), c.Preferred) << c.Windows;
        }
    }
    EXPECT_TRUE(installed.contains(TFont::SubstituteFamily("No Such Face Anywhere"), Qt::CaseInsensitive));
    EXPECT_TRUE(installed.contains(TFont::SubstituteFamily(""), Qt::CaseInsensitive));
}

TEST(FontToQt, PixelSizeAndStyleFollowTheFont) {
    TFont font;
    font.SetName("Verdana");
    font.SetHeight(-11);
    font.SetStyle(fsBold | fsUnderline);
    const QFont q = font.ToQFont();
    EXPECT_EQ(q.pixelSize(), 11);
    EXPECT_TRUE(q.bold());
    EXPECT_FALSE(q.italic());
    EXPECT_TRUE(q.underline());
    EXPECT_FALSE(q.strikeOut());
    EXPECT_EQ(q.family(), TFont::SubstituteFamily("Verdana"));
}

TEST(FontToQt, PositiveHeightIsTheWholeCell) {
    TFont font;
    font.SetHeight(20);
    const QFont q = font.ToQFont();
    EXPECT_LT(q.pixelSize(), 20) << "the em is smaller than the cell";
    EXPECT_NEAR(QFontMetrics(q).height(), 20, 1);
}

}  // namespace
}  // namespace kx
