#pragma once

// A small board for the circle, popup and menu tests: a main window with the
// menus "&File" and "&Help", a board image with a black photograph described
// at (200, 32), and helpers to add circles and panels.

#include "platform/form.h"
#include "platform/graphics.h"
#include "platform/menus.h"
#include "setup/board_highlight.h"
#include "setup/board_image.h"
#include "setup/popup_form.h"
#include "setup/radio_panel.h"
#include "support/kx_fixture.h"

namespace kx::test {

class BoardFixture : public AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        main = new TForm(&App());
        main->SetName("MainForm");
        main->SetColor(clWhite);
        App().SetMainForm(main);
        menu = new TMainMenu(main);
        menu->SetName("MainMenu1");
        menu->Items()->Add(MenuItem("File1", "&File"));
        menu->Items()->Add(MenuItem("Help1", "&Help"));
        main->SetMenu(menu);
        board = new TBoardImage(main);
        board->SetName("BoardImage1");
        board->SetParent(main);
        board->SetAutoSize(false);
        board->SetBounds(200, 32, 600, 536);
        TBitmap black(600, 536);
        black.MutableImage().fill(qRgb(0, 0, 0));
        TPicture pic;
        pic.SetGraphic(&black);
        board->SetPicture(&pic);
        board->SetStretch(true);
        board->SetMenu(menu);
    }

    TMenuItem* MenuItem(const char* name, const char* caption, TComponent* owner = nullptr) {
        auto* i = new TMenuItem(owner != nullptr ? owner : main);
        i->SetName(name);
        i->SetCaption(caption);
        return i;
    }

    TRadioPanel* Panel(const char* name, int l, int t, int w, int h, TStrings lines) {
        auto* p = new TRadioPanel(main);
        p->SetName(name);
        p->SetParent(main);
        p->SetBounds(l, t, w, h);
        p->SetLines(lines);
        return p;
    }

    TBoardHighlight* Circle(const char* name, int l, int t, int w, int h, const std::string& title,
                            THighlightType type, TRadioPanel* panel) {
        auto* c = new TBoardHighlight(main);
        c->SetName(name);
        c->SetParent(board);
        c->SetBounds(l, t, w, h);
        c->SetTitle(title);
        c->SetHighlightType(type);
        c->SetRadioPanel(panel);
        return c;
    }

    // Shows the main window with an outer size of 1032 x 746, as maximised on
    // a 1032 x 768 screen would be, and paints it.
    void ShowMain() {
        main->SetBounds(0, 0, 1032, 746);
        main->Show();
        Pump();
    }

    // The screen point of a point of the board image.
    TPoint OnBoard(int x, int y) const {
        const TPoint o = board->ClientOrigin();
        return {o.X + x, o.Y + y};
    }
    void PointerOnBoard(int x, int y) {
        const TPoint p = OnBoard(x, y);
        PointerAt(p.X, p.Y);
    }
    void PointerOnCircle(const TBoardHighlight* c) {
        PointerOnBoard(c->Left() + c->Width() / 2, c->Top() + c->Height() / 2);
    }
    void PointerAway() { PointerAt(1270, 1010); }

    // The captions of the menu bar, and of one top-level menu.
    std::vector<std::string> Bar() const {
        std::vector<std::string> out;
        for (int i = 0; i < menu->Items()->Count(); ++i)
            out.push_back(menu->Items()->Items(i)->Caption());
        return out;
    }
    TMenuItem* TopMenu(const std::string& caption) const {
        for (int i = 0; i < menu->Items()->Count(); ++i) {
            if (menu->Items()->Items(i)->Caption() == caption)
                return menu->Items()->Items(i);
        }
        return nullptr;
    }
    std::vector<std::string> Entries(const std::string& caption) const {
        std::vector<std::string> out;
        if (TMenuItem* m = TopMenu(caption)) {
            for (int i = 0; i < m->Count(); ++i)
                out.push_back(m->Items(i)->Caption());
        }
        return out;
    }
    TMenuItem* Entry(const std::string& menuCaption, const std::string& caption) const {
        if (TMenuItem* m = TopMenu(menuCaption)) {
            for (int i = 0; i < m->Count(); ++i) {
                if (m->Items(i)->Caption() == caption)
                    return m->Items(i);
            }
        }
        return nullptr;
    }
    // The visible popup windows, by caption.
    std::vector<std::string> OpenPopups() const {
        std::vector<std::string> out;
        for (TForm* f : Screen->FormList()) {
            if (dynamic_cast<TPopupForm*>(f) != nullptr && f->Visible())
                out.push_back(f->Caption());
        }
        return out;
    }
    int PopupCount() const {
        int n = 0;
        for (TForm* f : Screen->FormList())
            n += dynamic_cast<TPopupForm*>(f) != nullptr ? 1 : 0;
        return n;
    }

    TForm* main = nullptr;
    TMainMenu* menu = nullptr;
    TBoardImage* board = nullptr;
};

}  // namespace kx::test
