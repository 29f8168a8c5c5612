#include "platform/application.h"

#include <algorithm>

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QCursor>
#include <QScreen>
#include <QTimer>

#include "platform/accessible.h"
#include "platform/dialogs.h"
#include "platform/qt_bridge.h"

namespace kx {

TApplication* Application = nullptr;
TScreen* Screen = nullptr;

namespace {

int StyleIndex(TFormBorderStyle s) {
    return static_cast<int>(s);
}

// Typical frames of a desktop window manager, used until a real window of the
// style has been seen.
QMargins TypicalFrame(TFormBorderStyle s) {
    switch (s) {
        case TFormBorderStyle::bsNone:
            return {0, 0, 0, 0};
        case TFormBorderStyle::bsToolWindow:
        case TFormBorderStyle::bsSizeToolWin:
            return {1, 20, 1, 5};
        default:
            return {1, 20, 1, 5};
    }
}

}  // namespace

void SafeCall(const std::function<void()>& f) {
    try {
        f();
    } catch (const std::exception& e) {
        if (Application != nullptr) {
            Application->HandleException(e);
        }
    } catch (...) {
        if (Application != nullptr) {
            Application->HandleException(std::string("Unknown error"));
        }
    }
}

TScreen::TScreen(TComponent* AOwner) : TComponent(AOwner) {}

int TScreen::Width() const {
    if (m_fixedSize) {
        return m_fixedSize->X;
    }
    const QScreen* s = QGuiApplication::primaryScreen();
    return s != nullptr ? s->geometry().width() : 0;
}

int TScreen::Height() const {
    if (m_fixedSize) {
        return m_fixedSize->Y;
    }
    const QScreen* s = QGuiApplication::primaryScreen();
    return s != nullptr ? s->geometry().height() : 0;
}

QMargins TScreen::FrameMarginsFor(TFormBorderStyle style) const {
    if (m_fixedMargins) {
        return style == TFormBorderStyle::bsNone ? QMargins() : *m_fixedMargins;
    }
    const int i = StyleIndex(style);
    return m_learnedValid[i] ? m_learned[i] : TypicalFrame(style);
}

void TScreen::LearnFrameMargins(TFormBorderStyle style, const QMargins& m) {
    const int i = StyleIndex(style);
    m_learned[i] = m;
    m_learnedValid[i] = true;
}

void TScreen::SetSizeForTesting(int width, int height) {
    m_fixedSize = TPoint{width, height};
}

void TScreen::SetFrameMarginsForTesting(std::optional<QMargins> margins) {
    m_fixedMargins = margins;
}

void TScreen::AddForm(TForm* f) {
    m_forms.push_back(f);
}

void TScreen::RemoveForm(TForm* f) {
    std::erase(m_forms, f);
    std::erase(m_activationOrder, f);
}

void TScreen::FormActivated(TForm* f) {
    std::erase(m_activationOrder, f);
    m_activationOrder.insert(m_activationOrder.begin(), f);
}

TApplication::TApplication() : TComponent(nullptr) {
    Application = this;
    m_screen = new TScreen(nullptr);
    Screen = m_screen;
    if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance())) {
        app->setQuitOnLastWindowClosed(false);
    }
    HookDispatcher();
    InstallAccessibleFactory();
}

TApplication::~TApplication() {
    Destroying();
    DestroyComponents();
    m_mainForm = nullptr;
    delete m_hook;
    m_hook = nullptr;
    delete m_screen;
    Screen = nullptr;
    Application = nullptr;
}

void TApplication::HookDispatcher() {
    // The dispatcher announces when it is about to wait for new events: that
    // is our idle moment.
    m_hook = new QObject();
    if (QAbstractEventDispatcher* d = QAbstractEventDispatcher::instance()) {
        QObject::connect(d, &QAbstractEventDispatcher::aboutToBlock, m_hook, [this] {
            if (!Idle()) {
                // The handler wants to be called again before we wait.
                QTimer::singleShot(0, m_hook, [] {});
            }
        });
    }
}

int TApplication::Run() {
    if (m_mainForm != nullptr && !m_terminated) {
        m_mainForm->Show();
    }
    if (m_terminated) {
        return 0;
    }
    QApplication::exec();
    return 0;
}

void TApplication::Terminate() {
    m_terminated = true;
    QCoreApplication::exit(0);
}

void TApplication::HandleException(const std::exception& e) {
    HandleException(std::string(e.what()));
}

void TApplication::HandleException(const std::string& message) {
    if (m_reportingError) {
        return;
    }
    std::string text = message;
    if (!text.empty() && text.back() != '.') {
        text += '.';
    }
    if (InsidePaint()) {
        // A modal box must not open inside a paint; show it right after.
        QTimer::singleShot(0, m_hook, [this, text] { HandleException(text); });
        return;
    }
    m_reportingError = true;
    std::string caption = m_title;
    if (caption.empty()) {
        caption = QCoreApplication::applicationName().isEmpty() ? std::string("Error")
                                                                : QCoreApplication::applicationName().toStdString();
    }
    ShowMessageBox(text, caption, MB_OK | MB_ICONERROR);
    m_reportingError = false;
}

int TApplication::MessageBox(const std::string& text, const std::string& caption, unsigned flags) {
    return ShowMessageBox(text, caption, flags);
}

bool TApplication::Idle() {
    if (m_inIdle) {
        return true;
    }
    m_inIdle = true;
    bool done = true;
    // The loop is not idle before the main window is on the screen: its
    // first paint is work still to do (the window system's paint request may
    // arrive after the loop first runs dry).
    const bool awaitingFirstPaint =
        m_mainForm != nullptr && m_mainForm->Showing() && !m_mainForm->PaintedOnce();
    SafeCall([&] {
        if (OnIdle && !awaitingFirstPaint) {
            // Copy: the handler may clear OnIdle while it runs.
            TIdleEvent handler = OnIdle;
            handler(this, done);
        }
    });
    SafeCall([&] { TrackMouse(); });
    m_inIdle = false;
    return done;
}

TPoint TApplication::CursorPos() const {
    if (m_cursorOverride) {
        return *m_cursorOverride;
    }
    const QPoint p = QCursor::pos();
    return {p.x(), p.y()};
}

TControl* TApplication::FindControlAt(TPoint pos) const {
    if (QWidget* popup = QApplication::activePopupWidget()) {
        if (popup->frameGeometry().contains(QPoint(pos.X, pos.Y))) {
            return nullptr;  // an open menu lies over everything
        }
    }
    // Windows that stay on top come first, then the others; within each, the
    // most recently active first, then the rest newest first.
    std::vector<TForm*> order;
    auto add = [&](bool onTop) {
        for (TForm* f : m_screen->m_activationOrder) {
            if ((f->FormStyle() == fsStayOnTop) == onTop)
                order.push_back(f);
        }
        for (auto it = m_screen->m_forms.rbegin(); it != m_screen->m_forms.rend(); ++it) {
            TForm* f = *it;
            if ((f->FormStyle() == fsStayOnTop) == onTop &&
                std::find(order.begin(), order.end(), f) == order.end()) {
                order.push_back(f);
            }
        }
    };
    add(true);
    add(false);
    for (TForm* f : order) {
        if (!f->Showing() || !f->BoundsRect().Contains(pos)) {
            continue;
        }
        const TPoint c = f->ScreenToClient(pos);
        if (c.X < 0 || c.Y < 0 || c.X >= f->ClientWidth() || c.Y >= f->ClientHeight()) {
            return f;
        }
        TControl* inner = f->ControlAtPos(c, true, true, true);
        return inner != nullptr ? inner : f;
    }
    return nullptr;
}

void TApplication::TrackMouse() {
    // A click on one of our controls is under way: its release is still on
    // its way, while the pointer may already be elsewhere. Wait for it, or
    // the control would be left before it was clicked.
    if (m_captureControl != nullptr && !m_cursorOverride && QGuiApplication::mouseButtons() != Qt::NoButton) {
        return;
    }
    TControl* target = FindControlAt(CursorPos());
    if (m_captureControl != nullptr && target != m_captureControl) {
        target = nullptr;
    }
    if (target == m_mouseControl) {
        return;
    }
    TControl* old = m_mouseControl;
    m_mouseControl = target;
    if (old != nullptr) {
        old->Perform(CM_MOUSELEAVE, 0, 0);
    }
    // The leave may have destroyed or hidden things; only enter a control
    // that is still the one we found.
    if (m_mouseControl != nullptr && m_mouseControl == target) {
        target->Perform(CM_MOUSEENTER, 0, 0);
    }
}

void TApplication::ControlDestroyed(TControl* c) {
    if (m_mouseControl == c) {
        m_mouseControl = nullptr;
    }
    if (m_captureControl == c) {
        m_captureControl = nullptr;
    }
    if (m_mainForm == c) {
        m_mainForm = nullptr;
    }
}

void TApplication::ProcessMessages() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void TApplication::PumpUntilIdle() {
    for (int round = 0; round < 100; ++round) {
        for (int i = 0; i < 4; ++i) {
            ProcessMessages();
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        if (Idle()) {
            ProcessMessages();
            return;
        }
    }
}

}  // namespace kx
