#include "platform/form.h"

#include <algorithm>

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMoveEvent>
#include <QResizeEvent>
#include <QScreen>
#include <QTimer>

#include "platform/application.h"
#include "platform/menus.h"
#include "platform/qt_bridge.h"
#include "platform/std_controls.h"

namespace kx {

// The top-level Qt window of a form: it holds the menu bar and the client
// widget, and reports moves, resizes, activation, the close box and the keys
// Enter and Esc to the form.
class KxFormWindow : public QWidget {
public:
    explicit KxFormWindow(TForm* form) : m_form(form) {}
    void Detach() { m_form = nullptr; }

protected:
    bool event(QEvent* e) override {
        if (m_form != nullptr) {
            switch (e->type()) {
                case QEvent::WindowActivate:
                    SafeCall([this] { m_form->WindowActivated(true); });
                    break;
                case QEvent::WindowDeactivate:
                    SafeCall([this] { m_form->WindowActivated(false); });
                    break;
                default:
                    break;
            }
        }
        return QWidget::event(e);
    }
    void moveEvent(QMoveEvent* e) override {
        QWidget::moveEvent(e);
        if (m_form != nullptr)
            SafeCall([this] { m_form->WindowGeometryChanged(); });
    }
    void resizeEvent(QResizeEvent* e) override {
        QWidget::resizeEvent(e);
        if (m_form != nullptr)
            SafeCall([this] { m_form->WindowGeometryChanged(); });
    }
    void closeEvent(QCloseEvent* e) override {
        // The form decides: it hides itself or ends the program.
        e->ignore();
        if (m_form != nullptr)
            SafeCall([this] { m_form->CloseRequested(); });
    }
    void keyPressEvent(QKeyEvent* e) override {
        bool handled = false;
        if (m_form != nullptr) {
            SafeCall([&] { handled = m_form->KeyPressed(e->key()); });
        }
        if (!handled) {
            QWidget::keyPressEvent(e);
        }
    }
    void showEvent(QShowEvent* e) override {
        QWidget::showEvent(e);
        if (m_form != nullptr)
            SafeCall([this] { m_form->WindowGeometryChanged(); });
    }

private:
    TForm* m_form;
};

TForm* GetParentForm(const TControl* control) {
    const TControl* c = control;
    while (c != nullptr) {
        if (auto* f = dynamic_cast<const TForm*>(c)) {
            return const_cast<TForm*>(f);
        }
        c = c->Parent();
    }
    return nullptr;
}

TForm::TForm(TComponent* AOwner) : TCustomControl(AOwner) {
    // The paint widget made by TCustomControl becomes the client area inside
    // a top-level window.
    m_client = m_widget.data();
    m_window = new KxFormWindow(this);
    LinkWidget(m_window, this);
    m_client->setParent(m_window);
    m_client->show();
    m_widget = m_window;
    m_visible = false;
    m_color = clBtnFace;
    m_window->setFont(m_font.ToQFont());
    ApplyWindowFlags();
    m_left = 0;
    m_top = 0;
    m_width = 320;
    m_height = 240;
    ApplyGeometry();
    if (Screen != nullptr) {
        Screen->AddForm(this);
    }
}

TForm::~TForm() {
    Destroying();
    if (Screen != nullptr) {
        Screen->RemoveForm(this);
    }
    if (m_window != nullptr) {
        m_window->Detach();
        m_window->hide();
    }
    if (m_menu != nullptr) {
        m_menu->AttachTo(nullptr);
        m_menu->OnChange = nullptr;
    }
    // Children and the window itself go in the base destructors.
}

QWidget* TForm::ClientWidget() const {
    return m_client;
}

int TForm::ClientWidth() const {
    return m_client != nullptr ? m_client->width() : 0;
}

int TForm::ClientHeight() const {
    return m_client != nullptr ? m_client->height() : 0;
}

void TForm::SetClientSize(int w, int h) {
    const QMargins m = FrameMargins();
    SetBounds(m_left, m_top, w + m.left() + m.right(), h + m.top() + m.bottom() + MenuBarHeight());
}

TPoint TForm::ClientOrigin() const {
    const QMargins m = FrameMargins();
    return {m_left + m.left(), m_top + m.top() + MenuBarHeight()};
}

bool TForm::Showing() const {
    return m_visible && m_window != nullptr && m_window->isVisible();
}

QMargins TForm::FrameMargins() const {
    if (Screen == nullptr) {
        return {};
    }
    if (m_window != nullptr && m_window->isVisible() && !Screen->FrameMarginsFixed()) {
        const QRect frame = m_window->frameGeometry();
        const QRect inner = m_window->geometry();
        if (frame != inner) {
            return {inner.left() - frame.left(), inner.top() - frame.top(), frame.right() - inner.right(),
                    frame.bottom() - inner.bottom()};
        }
    }
    return Screen->FrameMarginsFor(m_borderStyle);
}

int TForm::MenuBarHeight() const {
    if (m_menuBar == nullptr || m_menu == nullptr || m_menuBar->actions().isEmpty()) {
        return 0;
    }
    const int w = std::max(m_window->width(), 1);
    const int h = m_menuBar->heightForWidth(w);
    return h > 0 ? h : m_menuBar->sizeHint().height();
}

void TForm::LayoutWindow() {
    const int menuH = MenuBarHeight();
    if (m_menuBar != nullptr) {
        m_menuBar->setVisible(menuH > 0);
        m_menuBar->setGeometry(0, 0, m_window->width(), menuH);
    }
    const int oldW = m_client->width();
    const int oldH = m_client->height();
    m_client->setGeometry(0, menuH, m_window->width(), std::max(m_window->height() - menuH, 0));
    if (oldW != m_client->width() || oldH != m_client->height()) {
        Resize();
    }
}

void TForm::ApplyGeometry() {
    if (m_window == nullptr) {
        return;
    }
    m_syncing = true;
    const QMargins m = FrameMargins();
    const int innerW = std::max(m_width - m.left() - m.right(), 1);
    const int innerH = std::max(m_height - m.top() - m.bottom(), 1);
    const bool placeBySystem = !m_shownOnce && (m_position == poDefault || m_position == poDefaultPosOnly);
    if (Screen != nullptr && Screen->FrameMarginsFixed()) {
        m_window->setGeometry(m_left + m.left(), m_top + m.top(), innerW, innerH);
    } else {
        m_window->resize(innerW, innerH);
        if (!placeBySystem) {
            m_window->move(m_left, m_top);
        }
    }
    LayoutWindow();
    m_syncing = false;
}

void TForm::WindowGeometryChanged() {
    if (m_syncing || m_window == nullptr) {
        return;
    }
    LayoutWindow();
    if (Screen == nullptr || !m_window->isVisible()) {
        return;
    }
    const QRect frame = m_window->frameGeometry();
    const QRect inner = m_window->geometry();
    QMargins m;
    if (Screen->FrameMarginsFixed()) {
        m = FrameMargins();
    } else {
        m = {inner.left() - frame.left(), inner.top() - frame.top(), frame.right() - inner.right(),
             frame.bottom() - inner.bottom()};
        // A maximised or minimised window wears a reduced frame; only a normal
        // one tells what other windows of its style will get.
        const bool normal =
            !(m_window->windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen));
        if (normal && (frame != inner || m_borderStyle == TFormBorderStyle::bsNone)) {
            Screen->LearnFrameMargins(m_borderStyle, m);
        }
    }
    const int left = inner.left() - m.left();
    const int top = inner.top() - m.top();
    const int width = inner.width() + m.left() + m.right();
    const int height = inner.height() + m.top() + m.bottom();
    if (left == m_left && top == m_top && width == m_width && height == m_height) {
        return;
    }
    const bool resized = width != m_width || height != m_height;
    m_left = left;
    m_top = top;
    m_width = width;
    m_height = height;
    if (resized && OnResize) {
        OnResize(this);
    }
    Invalidate();
}

void TForm::SetBorderStyle(TFormBorderStyle s) {
    if (s == m_borderStyle) {
        return;
    }
    m_borderStyle = s;
    ApplyWindowFlags();
}

void TForm::SetFormStyle(TFormStyle s) {
    if (s == m_formStyle) {
        return;
    }
    m_formStyle = s;
    ApplyWindowFlags();
}

void TForm::ApplyWindowFlags() {
    Qt::WindowFlags flags;
    switch (m_borderStyle) {
        case TFormBorderStyle::bsNone:
            flags = Qt::Window | Qt::FramelessWindowHint;
            break;
        case TFormBorderStyle::bsToolWindow:
        case TFormBorderStyle::bsSizeToolWin:
            flags = Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
            break;
        case TFormBorderStyle::bsDialog:
            flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
            break;
        case TFormBorderStyle::bsSingle:
            flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                    Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint;
            break;
        case TFormBorderStyle::bsSizeable:
            flags = Qt::Window;
            break;
    }
    if (m_formStyle == fsStayOnTop) {
        flags |= Qt::WindowStaysOnTopHint;
    }
    const bool wasVisible = m_window->isVisible();
    m_window->setWindowFlags(flags);
    if (wasVisible) {
        m_window->show();
    }
}

void TForm::SetWindowState(TWindowState s) {
    if (s == m_windowState) {
        return;
    }
    m_windowState = s;
    if (m_window->isVisible()) {
        ShowInState();
    }
}

void TForm::ShowInState() {
    switch (m_windowState) {
        case wsMaximized:
            m_window->showMaximized();
            break;
        case wsMinimized:
            m_window->showMinimized();
            break;
        case wsNormal:
            m_window->showNormal();
            break;
    }
}

void TForm::SetMenu(TMainMenu* menu) {
    if (menu == m_menu) {
        return;
    }
    if (m_menu != nullptr) {
        m_menu->AttachTo(nullptr);
        m_menu->OnChange = nullptr;
    }
    m_menu = menu;
    if (menu != nullptr) {
        FreeNotification(menu);
        if (m_menuBar == nullptr) {
            m_menuBar = new QMenuBar(m_window);
            m_menuBar->setNativeMenuBar(false);
        }
        menu->AttachTo(m_menuBar);
        menu->OnChange = [this](TObject*) { LayoutWindow(); };
    }
    LayoutWindow();
}

void TForm::Notification(TComponent* comp, TOperation op) {
    TCustomControl::Notification(comp, op);
    if (op != TOperation::opRemove) {
        return;
    }
    if (comp == m_menu) {
        m_menu = nullptr;
        LayoutWindow();
    }
    if (comp == m_activeControl)
        m_activeControl = nullptr;
}

void TForm::SetConstraints(const TSizeConstraints& c) {
    TCustomControl::SetConstraints(c);
    ApplyMinimumSize();
}

void TForm::ApplyMinimumSize() {
    const QMargins m = FrameMargins();
    const int w = m_constraints.MinWidth > 0 ? std::max(m_constraints.MinWidth - m.left() - m.right(), 1) : 0;
    const int h =
        m_constraints.MinHeight > 0 ? std::max(m_constraints.MinHeight - m.top() - m.bottom(), 1) : 0;
    m_window->setMinimumSize(w, h);
}

void TForm::PlaceAtFirstShow() {
    if (Screen == nullptr) {
        return;
    }
    if (m_align == alClient) {
        // A window aligned to the client fills the desktop's work area when it
        // is not maximised.
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            const QRect work = screen->availableGeometry();
            SetBounds(work.x(), work.y(), work.width(), work.height());
            return;
        }
    }
    auto centreOn = [this](const TRect& r) {
        SetBounds(r.Left + (r.Width() - m_width) / 2, r.Top + (r.Height() - m_height) / 2, m_width, m_height);
    };
    switch (m_position) {
        case poScreenCenter:
        case poDesktopCenter:
            centreOn({0, 0, Screen->Width(), Screen->Height()});
            break;
        case poMainFormCenter:
        case poOwnerFormCenter: {
            TForm* over = nullptr;
            if (m_position == poOwnerFormCenter) {
                over = dynamic_cast<TForm*>(Owner());
            }
            if (over == nullptr && Application != nullptr) {
                over = Application->MainForm();
            }
            if (over != nullptr && over != this) {
                centreOn(over->BoundsRect());
            } else {
                centreOn({0, 0, Screen->Width(), Screen->Height()});
            }
            break;
        }
        default:
            break;
    }
}

void TForm::SetVisible(bool v) {
    if (v == m_visible && (v == m_window->isVisible())) {
        return;
    }
    m_visible = v;
    if (v) {
        if (!m_shownOnce) {
            // The frame may have become known since the size was set; the
            // client area keeps the size it was given.
            const QMargins m = FrameMargins();
            m_width = m_window->width() + m.left() + m.right();
            m_height = m_window->height() + m.top() + m.bottom();
            PlaceAtFirstShow();
            ApplyGeometry();
            m_shownOnce = true;
        }
        UpdateTabChain();
        ShowInState();
        if (OnShow)
            OnShow(this);
    } else {
        m_window->hide();
        if (m_active) {
            WindowActivated(false);
        }
        if (OnHide)
            OnHide(this);
    }
}

void TForm::Show() {
    SetVisible(true);
    m_window->raise();
    m_window->activateWindow();
}

void TForm::SetFocus() {
    if (!m_visible) {
        return;
    }
    m_window->raise();
    m_window->activateWindow();
}

void TForm::SetActiveControl(TWinControl* c) {
    if (c == m_activeControl) {
        return;
    }
    m_activeControl = c;
    if (c != nullptr) {
        FreeNotification(c);
    }
}

void TForm::Close() {
    TCloseAction action = caHide;
    if (OnClose) {
        OnClose(this, action);
    }
    if (action == caNone) {
        return;
    }
    if (Application != nullptr && Application->MainForm() == this) {
        Application->Terminate();
        return;
    }
    switch (action) {
        case caHide:
            Hide();
            break;
        case caMinimize:
            SetWindowState(wsMinimized);
            break;
        case caFree:
            Hide();
            QTimer::singleShot(0, [this] { delete this; });
            break;
        case caNone:
            break;
    }
}

void TForm::CloseRequested() {
    Close();
}

void TForm::WindowActivated(bool active) {
    if (active == m_active) {
        return;
    }
    m_active = active;
    if (active && Screen != nullptr) {
        Screen->FormActivated(this);
    }
    Perform(WM_ACTIVATE, active ? WA_ACTIVE : WA_INACTIVE, 0);
    if (active) {
        Activate();
    } else {
        Deactivate();
    }
}

namespace {

TButton* FindButton(const TWinControl* parent, bool wantDefault) {
    for (int i = 0; i < parent->ControlCount(); ++i) {
        TControl* c = parent->Controls(i);
        if (auto* b = dynamic_cast<TButton*>(c)) {
            if ((wantDefault ? b->Default() : b->Cancel()) && b->Showing() && b->Enabled()) {
                return b;
            }
        } else if (auto* w = dynamic_cast<TWinControl*>(c)) {
            if (TButton* inner = FindButton(w, wantDefault)) {
                return inner;
            }
        }
    }
    return nullptr;
}

}  // namespace

TButton* TForm::DefaultButton() const {
    return FindButton(this, true);
}

TButton* TForm::CancelButton() const {
    return FindButton(this, false);
}

bool TForm::KeyPressed(int qtKey) {
    if (qtKey == Qt::Key_Escape) {
        if (TButton* b = CancelButton()) {
            b->Click();
            return true;
        }
        return false;
    }
    if (qtKey == Qt::Key_Return || qtKey == Qt::Key_Enter) {
        // A focused button takes Enter itself; otherwise the default button.
        if (auto* focused = dynamic_cast<TButton*>(ControlOfWidget(m_window->focusWidget()))) {
            focused->Click();
            return true;
        }
        if (TButton* b = DefaultButton()) {
            b->Click();
            return true;
        }
    }
    return false;
}

void TForm::WndProc(TMessage& message) {
    TCustomControl::WndProc(message);
}

void TForm::CaptionChanged() {
    m_window->setWindowTitle(QString::fromStdString(m_caption));
}

void TForm::FitToChildren() {
    const TRect box = ChildrenBounds();
    if (box.IsEmpty()) {
        return;
    }
    for (TControl* c : m_controls) {
        if (c->Visible() && c->Align() == alNone) {
            c->SetBounds(c->Left() - box.Left, c->Top() - box.Top, c->Width(), c->Height());
        }
    }
    SetClientSize(box.Width(), box.Height());
}

void TForm::DoCreate() {
    if (OnCreate) {
        OnCreate(this);
    }
}

}  // namespace kx
