// One QApplication for the whole test binary, on Qt's offscreen platform with a
// fixed 1280 x 1024 screen, so no test depends on the machine's display.

#include <gtest/gtest.h>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>

namespace {

// The offscreen platform cannot raise windows and says so each time; that
// says nothing about the program.
void QuietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.contains("does not support raise()")) {
        return;
    }
    qt_message_output(type, context, message);
}

}  // namespace

int main(int argc, char** argv) {
    qInstallMessageHandler(QuietHandler);
    QTemporaryDir dir;
    const QString config = dir.path() + "/screens.json";
    {
        QFile f(config);
        if (f.open(QIODevice::WriteOnly)) {
            f.write(R"({"synchronousWindowSystemEvents": true, "windowFrameMargins": false,
                        "screens": [{"name": "test", "x": 0, "y": 0, "width": 1280, "height": 1024,
                                     "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
        }
    }
    const QByteArray platform = ("offscreen:configfile=" + config).toUtf8();
    qputenv("QT_QPA_PLATFORM", platform);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
