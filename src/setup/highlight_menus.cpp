// The circles' entries in the main menu: one top-level menu per circle type,
// one entry per linked group, found again only by their captions.

#include <algorithm>
#include <memory>

#include "platform/menus.h"
#include "setup/board_highlight.h"
#include "setup/popup_form.h"

namespace kx {

namespace {

// The smallest stem + n (n >= 1) that owner has no component of.
std::string UniqueName(const TComponent* owner, const std::string& stem) {
    for (int n = 1;; ++n) {
        const std::string name = stem + std::to_string(n);
        if (owner == nullptr || owner->FindComponent(name) == nullptr) {
            return name;
        }
    }
}

const char* NameStem(THighlightType type) {
    switch (type) {
        case htOptions:
            return "Options";
        case htCalibration:
            return "Calibration";
        case htSettings:
        default:
            return "Settings";
    }
}

// The top-level captions a new type menu goes before, so the type menus
// always stand as Settings, Calibration, Options, all before Help.
std::vector<std::string> InsertBefore(THighlightType type) {
    switch (type) {
        case htSettings:
            return {"&Calibration", "&Options", "&Help"};
        case htCalibration:
            return {"&Options", "&Help"};
        case htOptions:
        default:
            return {"&Help"};
    }
}

}  // namespace

std::string TypeMenuCaption(THighlightType type) {
    switch (type) {
        case htOptions:
            return "&Options";
        case htCalibration:
            return "&Calibration";
        case htSettings:
        default:
            return "&Settings";
    }
}

void TBoardHighlight::AddMenuEntry() {
    if (m_boardMenu == nullptr) {
        return;
    }
    TComponent* owner = m_boardMenu->Owner();
    TMenuItem* bar = m_boardMenu->Items();
    const std::string caption = TypeMenuCaption(m_highlightType);
    const int count = bar->Count();

    auto addEntry = [&](TMenuItem* typeMenu) {
        auto* entry = new TMenuItem(owner);
        entry->SetName(UniqueName(owner, m_titleIdent));
        entry->SetCaption(m_title);
        std::weak_ptr<bool> alive = m_alive;
        entry->OnClick = [this, alive](TObject* sender) {
            if (auto a = alive.lock(); a && *a) {
                MenuItemClick(sender);
            }
        };
        typeMenu->Add(entry);
    };

    for (int i = 0; i < count; ++i) {
        TMenuItem* typeMenu = bar->Items(i);
        if (typeMenu->Caption() != caption) {
            continue;
        }
        for (int e = 0; e < typeMenu->Count(); ++e) {
            if (typeMenu->Items(e)->Caption() == m_title) {
                return;  // the group has its entry already
            }
        }
        if (!m_title.empty()) {
            addEntry(typeMenu);
        }
        return;
    }

    auto* typeMenu = new TMenuItem(owner);
    typeMenu->SetName(UniqueName(owner, NameStem(m_highlightType)));
    typeMenu->SetCaption(caption);
    int position = count;
    const std::vector<std::string> before = InsertBefore(m_highlightType);
    for (int i = 0; i < count; ++i) {
        if (std::find(before.begin(), before.end(), bar->Items(i)->Caption()) != before.end()) {
            position = i;
            break;
        }
    }
    bar->Insert(position, typeMenu);
    if (!m_title.empty()) {
        addEntry(typeMenu);
    }
}

TMenuItem* TBoardHighlight::MenuEntry() const {
    if (m_boardMenu == nullptr) {
        return nullptr;
    }
    const std::string caption = TypeMenuCaption(m_highlightType);
    TMenuItem* bar = m_boardMenu->Items();
    for (int i = 0; i < bar->Count(); ++i) {
        TMenuItem* typeMenu = bar->Items(i);
        if (typeMenu->Caption() != caption) {
            continue;
        }
        for (int e = 0; e < typeMenu->Count(); ++e) {
            if (typeMenu->Items(e)->Caption() == m_title) {
                return typeMenu->Items(e);
            }
        }
    }
    return nullptr;
}

void TBoardHighlight::SetMenuCheck(bool Value) {
    if (TMenuItem* entry = MenuEntry()) {
        entry->SetChecked(Value);
    }
}

void TBoardHighlight::MenuItemClick(TObject* Sender) {
    auto* item = dynamic_cast<TMenuItem*>(Sender);
    if (item != nullptr && IsExactly<TMenuItem>(item) && item->Checked()) {
        // A checked entry closes the group's popup, wherever it lives.
        if (m_popup != nullptr) {
            m_popup->Close();
            return;
        }
        ForEachLinked([Sender](TBoardHighlight* c) {
            if (c->m_popup != nullptr) {
                c->MenuItemClick(Sender);
            }
        });
        return;
    }
    Perform(CM_MOUSEENTER, 0, 0);
    Pin();
    Perform(CM_MOUSELEAVE, 0, 0);
}

}  // namespace kx
