#include "app/desktop_identity.h"

#include <QGuiApplication>
#include <QIcon>
#include <QSize>
#include <QString>

namespace kx {

namespace {

// The sizes of the icon compiled into the program; the window manager and the
// task switcher pick the nearest one.
constexpr int EmbeddedIconSizes[] = {48, 64, 256};

QIcon EmbeddedIcon() {
    QIcon icon;
    for (int size : EmbeddedIconSizes) {
        const QString file =
            QStringLiteral(":/icons/%1x%1/apps/%2.png").arg(size).arg(QStringLiteral(KX_APP_ID));
        icon.addFile(file, QSize(size, size));
    }
    return icon;
}

}  // namespace

void ApplyDesktopIdentity() {
    const QString appId = QStringLiteral(KX_APP_ID);
    QGuiApplication::setDesktopFileName(appId);
    // An icon theme may draw its own version of the icon; the installed
    // hicolor copy is found the same way. A program run from its build folder
    // has neither and uses the embedded one.
    QGuiApplication::setWindowIcon(QIcon::fromTheme(appId, EmbeddedIcon()));
}

}  // namespace kx
