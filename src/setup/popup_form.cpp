#include "setup/popup_form.h"

#include <algorithm>
#include <memory>

#include <QTimer>
#include <QWidget>

#include "platform/accessible.h"
#include "platform/application.h"
#include "platform/button.h"
#include "platform/memo.h"
#include "platform/menus.h"
#include "platform/status_bar.h"
#include "setup/board_highlight.h"
#include "setup/board_image.h"
#include "setup/radio_panel.h"

namespace kx {

namespace {

constexpr int kMinOuterWidth = 194;
constexpr int kMinOuterHeight = 122;
constexpr int kNoPanelMemoHeight = 58;

}  // namespace

TPopupForm::TPopupForm(TComponent* AOwner) : TForm(AOwner) {}

TPopupForm::~TPopupForm() {
    Destroying();
}

void TPopupForm::Notification(TComponent* comp, TOperation op) {
    TForm::Notification(comp, op);
    if (op == TOperation::opRemove && comp == m_highlight) {
        m_highlight = nullptr;
    }
}

void TBoardHighlight::ShowPopup() {
    TPopupForm::ShowFor(this);
}

void TPopupForm::ShowFor(TBoardHighlight* c) {
    if (c->m_popup != nullptr) {
        if (!c->m_popup->Visible()) {
            c->m_pinned = false;
        }
        c->m_popup->Show();
        return;
    }
    // A linked circle finds that its group's popup exists already by its
    // caption and type.
    if (Screen != nullptr) {
        const std::intptr_t tag = static_cast<std::intptr_t>(c->HighlightType());
        for (TForm* f : Screen->FormList()) {
            if (f->Caption() == c->PlainTitle() && f->Tag() == tag) {
                return;
            }
        }
    }
    auto* popup = new TPopupForm(c);
    c->m_popup = popup;
    c->FreeNotification(popup);
    popup->Build(c);
}

void TPopupForm::Build(TBoardHighlight* c) {
    m_highlight = c;
    SetAutoScroll(false);
    SetBorderStyle(TFormBorderStyle::bsSizeToolWin);
    SetFormStyle(fsStayOnTop);
    c->SetPinned(false);

    TRadioPanel* panel = c->RadioPanel();
    int memoHeight = kNoPanelMemoHeight;
    int pl = 0;
    int pt = 0;
    if (panel != nullptr) {
        memoHeight = panel->MemoHeight();
        OnActivate = panel->OnActivate;
        OnDeactivate = panel->OnDeactivate;
        pl = panel->Left();
        pt = panel->Top();
        panel->SetBounds(0, 0, panel->Width(), panel->Height());
        panel->SetVisible(true);
        SetClientWidth(panel->Width());
        SetClientHeight(panel->Height() + memoHeight + 51);
        panel->SetParent(this);
        panel->SetAnchors(panel->FinalAnchors());
        panel->SetPlaced(true);
    } else {
        SetBounds(Left(), Top(), 194, 141);
    }

    SetCaption(c->PlainTitle());
    SetBounds(Left(), Top(), std::max(kMinOuterWidth, Width()), std::max(kMinOuterHeight, Height()));
    SetConstraints({Width(), Height(), 0, 0});
    SetTag(static_cast<std::intptr_t>(c->HighlightType()));
    SetPosition(poDesigned);

    // Where the panel was designed on the main window, moved as far as the
    // board image has moved since its first paint.
    int dx = 0;
    int dy = 0;
    int boardLeft = 0;
    int boardTop = 0;
    int boardHeight = 0;
    if (TWinControl* board = c->Parent()) {
        boardLeft = board->Left();
        boardTop = board->Top();
        boardHeight = board->Height();
        if (auto* image = dynamic_cast<TBoardImage*>(board)) {
            dx = image->DesignLeft() - pl;
            dy = image->DesignTop() - pt;
        }
    }
    if (panel == nullptr) {
        dx = 0;
        dy = -(boardHeight + 38);
    }
    SetBounds(boardLeft - dx, boardTop - dy, Width(), Height());

    OnClose = [this](TObject* sender, TCloseAction& action) { PopupClose(sender, action); };

    const int cw = ClientWidth();
    const int ch = ClientHeight();
    PopupStatus = new TStatusBar(this);
    PopupStatus->SetName("PopupStatus");
    PopupStatus->SetAlign(alNone);
    PopupStatus->SetParent(this);
    PopupStatus->SetBounds(0, ch - 19, cw, 19);
    PopupStatus->SetAnchors(akLeft | akRight | akBottom);
    PopupStatus->AddPanel({"", cw, bvNone});

    auto makeButton = [&](const char* name, const char* caption, int left, TAnchors anchors,
                          void (TPopupForm::*handler)(TBoardHighlight*)) {
        auto* b = new TButton(this);
        b->SetName(name);
        b->SetParent(this);
        b->SetBounds(left, ch - 44, 58, 25);
        b->SetAnchors(anchors);
        b->SetCaption(caption);
        b->OnClick = [this, c, handler](TObject*) { (this->*handler)(c); };
        return b;
    };
    PreviousButton =
        makeButton("PreviousButton", "Previous", 6, akLeft | akBottom, &TPopupForm::PreviousClick);
    NextButton = makeButton("NextButton", "Next", (cw - 58) / 2, akBottom, &TPopupForm::NextClick);
    DoneButton = makeButton("DoneButton", "Done", cw - 64, akRight | akBottom, &TPopupForm::DoneClick);

    StatusMemo = new TMemo(this);
    StatusMemo->SetName("StatusMemo");
    StatusMemo->SetParent(this);
    StatusMemo->SetBounds(6, DoneButton->Top() - 6 - memoHeight, cw - 12, memoHeight);
    StatusMemo->SetAnchors(AnchorsAll);
    StatusMemo->SetReadOnly(true);
    StatusMemo->SetScrollBars(ssVertical);
    StatusMemo->Clear();
    if (panel != nullptr) {
        StatusMemo->SetLines(panel->Lines());
    }

    // Keep the whole window on the screen.
    if (Screen != nullptr) {
        int left = Left();
        int top = Top();
        if (left < 0) {
            left = 0;
        } else if (left + Width() > Screen->Width()) {
            left = Screen->Width() - Width();
        }
        if (top < 0) {
            top = 0;
        } else if (top + Height() > Screen->Height()) {
            top = Screen->Height() - Height();
        }
        SetBounds(left, top, Width(), Height());
    }

    DescribeForScreenReaders(panel);
    Show();
    if (panel != nullptr) {
        panel->SetFocus();
    } else {
        DoneButton->SetFocus();
    }
}

void TPopupForm::DescribeForScreenReaders(TWinControl* focusTarget) {
    const std::string text = SpokenLines(StatusMemo->Lines());
    Widget()->setAccessibleDescription(QString::fromStdString(text));
    // The panel takes the focus when the popup opens, and on its own it has
    // no name: it says the popup's title and text instead.
    if (focusTarget != nullptr) {
        focusTarget->SetAccessibleName(Caption());
        focusTarget->SetAccessibleDescription(text);
    }
}

bool TPopupForm::KeyPressed(int qtKey) {
    if (qtKey == Qt::Key_Escape) {
        Close();
        return true;
    }
    return TForm::KeyPressed(qtKey);
}

void TPopupForm::GiveFocusBack() {
    auto* board = m_highlight != nullptr ? dynamic_cast<TBoardImage*>(m_highlight->Parent()) : nullptr;
    if (board == nullptr || board->Widget() == nullptr) {
        return;
    }
    std::weak_ptr<bool> alive = m_highlight->m_alive;
    TBoardHighlight* circle = m_highlight;
    // Later, so that a tour step that opens the next popup goes first.
    QTimer::singleShot(0, board->Widget(), [board, circle, alive] {
        const auto a = alive.lock();
        if (!a || !*a || Screen == nullptr) {
            return;
        }
        for (TForm* f : Screen->FormList()) {
            auto* popup = dynamic_cast<TPopupForm*>(f);
            if (popup != nullptr && popup->Visible() && popup->ReturnFocus()) {
                return;
            }
        }
        try {
            board->FocusGroup(circle);
        } catch (const std::exception& e) {
            if (Application != nullptr)
                Application->HandleException(e);
        }
    });
}

void TPopupForm::PopupClose(TObject*, TCloseAction&) {
    if (m_highlight == nullptr) {
        return;
    }
    m_highlight->SetMenuCheck(false);
    m_closeOnLeave = false;
    m_highlight->Unlight();
    m_highlight->ForEachLinked([](TBoardHighlight* linked) { linked->Unlight(); });
    m_highlight->NotifyGroupState();
    if (m_returnFocus) {
        m_returnFocus = false;
        GiveFocusBack();
    }
}

void TPopupForm::WndProc(TMessage& message) {
    switch (message.Msg) {
        case WM_ACTIVATE:
            if (m_highlight != nullptr) {
                m_highlight->SetPopupActive(message.WParam != WA_INACTIVE, true);
            }
            message.Result = 0;
            return;
        case CM_MOUSELEAVE:
            if (m_closeOnLeave && Application != nullptr &&
                !BoundsRect().Contains(Application->CursorPos())) {
                Close();
                return;
            }
            break;
        default:
            break;
    }
    TForm::WndProc(message);
}

void TPopupForm::DoneClick(TBoardHighlight* circle) {
    if (circle->Popup() != nullptr) {
        circle->Popup()->Close();
    }
}

void TPopupForm::PreviousClick(TBoardHighlight* circle) {
    Step(circle, -1);
}

void TPopupForm::NextClick(TBoardHighlight* circle) {
    Step(circle, +1);
}

void TPopupForm::Step(TBoardHighlight* circle, int direction) {
    TMainMenu* menu = circle->BoardMenu();
    if (menu == nullptr) {
        return;
    }
    // The neighbouring entry of the circle's type menu, wrapping around.
    const std::string caption = TypeMenuCaption(circle->HighlightType());
    TMenuItem* bar = menu->Items();
    TMenuItem* target = nullptr;
    for (int i = 0; i < bar->Count() && target == nullptr; ++i) {
        TMenuItem* typeMenu = bar->Items(i);
        if (typeMenu->Caption() != caption) {
            continue;
        }
        const int n = typeMenu->Count();
        for (int j = 0; j < n; ++j) {
            if (typeMenu->Items(j)->Caption() == circle->Title()) {
                const int k = direction < 0 ? (j == 0 ? n - 1 : j - 1) : (j == n - 1 ? 0 : j + 1);
                target = typeMenu->Items(k);
                break;
            }
        }
    }
    if (target == nullptr) {
        return;
    }
    const bool fromKeyboard = circle->Popup() != nullptr && circle->Popup()->ReturnFocus();
    if (circle->Popup() != nullptr) {
        circle->Popup()->Close();
    }
    if (target->OnClick) {
        TNotifyEvent handler = target->OnClick;
        handler(circle);
    }
    if (fromKeyboard) {
        HandReturnFocusOn(circle, target->Caption());
    }
}

void TPopupForm::HandReturnFocusOn(TBoardHighlight* circle, const std::string& title) {
    // The tour went on from a popup the keyboard opened: the next popup
    // gives the focus back to its own group when it closes.
    TWinControl* board = circle->Parent();
    if (board == nullptr) {
        return;
    }
    for (int i = 0; i < board->ControlCount(); ++i) {
        auto* c = dynamic_cast<TBoardHighlight*>(board->Controls(i));
        if (c != nullptr && c->Title() == title && c->HighlightType() == circle->HighlightType()) {
            if (TPopupForm* popup = c->GroupPopup(); popup != nullptr && popup->Visible()) {
                popup->SetReturnFocus(true);
            }
            return;
        }
    }
}

}  // namespace kx
