// A bare Qt window that shows the board photograph as the setup guide does,
// maximised and centred on white, and quits at its first idle moment when
// KX_BENCH_EXIT_AT_IDLE is set (bench/memory.sh reads it while it stays). It
// reports its start-up time in the same line the setup guide prints when
// started with KX_BENCH_EXIT_AT_IDLE=1, so that bench/startup.sh measures both
// the same way.
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTimer>
#include <QWidget>

#include <unistd.h>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <utility>

namespace kx {
namespace {

// Counted from the moment the kernel created the process, so that dynamic
// loading and static initialisation are part of the figure. Returns -1 when
// the process table cannot be read.
long long MillisecondsSinceProcessStart() {
    std::ifstream stat("/proc/self/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    // The command name may itself hold blanks and parentheses, so the fields
    // are counted from the last closing parenthesis, which ends it.
    const auto end_of_name = text.rfind(')');
    if (end_of_name == std::string::npos) {
        return -1;
    }
    std::istringstream fields(text.substr(end_of_name + 1));
    std::string skipped;
    // Fields 3 to 21 come before the start time, field 22, in clock ticks
    // since boot.
    for (int field = 3; field < 22; ++field) {
        fields >> skipped;
    }
    unsigned long long start_ticks = 0;
    if (!(fields >> start_ticks)) {
        return -1;
    }
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    const double now_ms = static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1e6;
    const double start_ms =
        static_cast<double>(start_ticks) * 1000.0 / static_cast<double>(sysconf(_SC_CLK_TCK));
    return std::llround(now_ms - start_ms);
}

class TBareWindow : public QWidget {
public:
    explicit TBareWindow(QImage photo) : m_photo(std::move(photo)) { setWindowTitle("Bare window"); }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::white);
        painter.drawImage((width() - m_photo.width()) / 2, (height() - m_photo.height()) / 2, m_photo);
        if (!m_painted) {
            m_painted = true;
            // A zero timer runs once the events that showing and painting
            // queued have been handled: the first moment with nothing to do.
            QTimer::singleShot(0, this, &TBareWindow::ReportFirstIdle);
        }
    }

private:
    static void ReportFirstIdle() {
        std::fprintf(stderr, "KX_FIRST_IDLE %lld\n", MillisecondsSinceProcessStart());
        // Without the variable the window stays, so that its memory can be read from outside.
        if (std::getenv("KX_BENCH_EXIT_AT_IDLE") != nullptr) {
            QCoreApplication::quit();
        }
    }

    QImage m_photo;
    bool m_painted = false;
};

}  // namespace
}  // namespace kx

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s PICTURE\n", argv[0]);
        return 2;
    }
    QImage photo(QString::fromLocal8Bit(argv[1]));
    if (photo.isNull()) {
        std::fprintf(stderr, "cannot read the picture %s\n", argv[1]);
        return 1;
    }
    kx::TBareWindow window(std::move(photo));
    // The stored size of the setup guide's main window, replaced by maximising
    // just as there.
    window.resize(961, 700);
    window.showMaximized();
    return app.exec();
}
