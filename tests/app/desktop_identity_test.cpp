#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <QPixmap>

#include "app/desktop_identity.h"

namespace kx {
namespace {

// The installed desktop entry, metainfo and icon all carry this name; the
// session only ties the running windows to them when Qt reports the same one.
constexpr char AppId[] = "com.talvor.KX7040Setup";

class DesktopIdentityTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_fileName = QGuiApplication::desktopFileName();
        m_icon = QGuiApplication::windowIcon();
    }
    // Other tests in this binary expect Qt's defaults.
    void TearDown() override {
        QGuiApplication::setDesktopFileName(m_fileName);
        QGuiApplication::setWindowIcon(m_icon);
    }

private:
    QString m_fileName;
    QIcon m_icon;
};

TEST_F(DesktopIdentityTest, NamesTheDesktopEntry) {
    ApplyDesktopIdentity();
    EXPECT_EQ(QGuiApplication::desktopFileName(), QString(AppId));
}

// QIcon never scales a picture up, so a missing large size shows as a smaller
// pixmap than asked for, and a missing icon as a null one.
TEST_F(DesktopIdentityTest, GivesEveryWindowTheIconAtSmallAndLargeSizes) {
    ApplyDesktopIdentity();
    const QIcon icon = QGuiApplication::windowIcon();
    ASSERT_FALSE(icon.isNull());
    for (int size : {48, 64, 256}) {
        SCOPED_TRACE(size);
        const QPixmap pixmap = icon.pixmap(QSize(size, size));
        EXPECT_EQ(pixmap.width(), size);
        EXPECT_EQ(pixmap.height(), size);
        EXPECT_EQ(pixmap.toImage().pixelColor(size / 2, size / 2).alpha(), 255)
            << "the board fills the centre";
    }
}

TEST_F(DesktopIdentityTest, EmbeddedPicturesHaveTheSizesTheirFoldersName) {
    for (int size : {48, 64, 256}) {
        SCOPED_TRACE(size);
        const QImage image(QStringLiteral(":/icons/%1x%1/apps/%2.png").arg(size).arg(AppId));
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(image.width(), size);
        EXPECT_EQ(image.height(), size);
        EXPECT_TRUE(image.hasAlphaChannel());
        EXPECT_EQ(image.pixelColor(0, 0).alpha(), 0) << "the corners stay transparent";
    }
}

}  // namespace
}  // namespace kx
