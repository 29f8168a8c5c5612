// How a linked group of circles appears to a screen reader and to the
// keyboard: one button per group, spoken for by the circle created first.

#include "platform/accessible.h"
#include "platform/form.h"
#include "platform/menus.h"
#include "setup/board_highlight.h"
#include "setup/board_image.h"
#include "setup/popup_form.h"
#include "setup/radio_panel.h"

namespace kx {

namespace {

// Where a component stands in its owner's list: creation order.
int CreationIndex(const TComponent* c) {
    const TComponent* owner = c->Owner();
    if (owner == nullptr) {
        return 0;
    }
    for (int i = 0; i < owner->ComponentCount(); ++i) {
        if (owner->Components(i) == c) {
            return i;
        }
    }
    return owner->ComponentCount();
}

}  // namespace

const TBoardHighlight* TBoardHighlight::GroupLeader() const {
    return const_cast<TBoardHighlight*>(this)->GroupLeader();
}

TBoardHighlight* TBoardHighlight::GroupLeader() {
    TBoardHighlight* leader = this;
    int best = CreationIndex(this);
    ForEachLinked([&](TBoardHighlight* c) {
        const int index = CreationIndex(c);
        if (index < best) {
            best = index;
            leader = c;
        }
    });
    return leader;
}

TPopupForm* TBoardHighlight::GroupPopup() const {
    if (m_popup != nullptr) {
        return m_popup;
    }
    TPopupForm* popup = nullptr;
    const_cast<TBoardHighlight*>(this)->ForEachLinked([&](TBoardHighlight* c) {
        if (popup == nullptr && c->m_popup != nullptr) {
            popup = c->m_popup;
        }
    });
    return popup;
}

int TBoardHighlight::MenuIndex() const {
    const TMenuItem* entry = MenuEntry();
    return entry != nullptr ? entry->Parent()->IndexOf(entry) : -1;
}

bool TBoardHighlight::AccessibleExposed() const {
    return m_visible && GroupLeader() == this;
}

std::string TBoardHighlight::AccessibleName() const {
    return m_accessibleName.empty() ? m_plainTitle : m_accessibleName;
}

std::string TBoardHighlight::AccessibleDescription() const {
    if (!m_accessibleDescription.empty() || m_radioPanel == nullptr) {
        return TControl::AccessibleDescription();
    }
    return SpokenLines(m_radioPanel->Lines());
}

TAccessibleState TBoardHighlight::AccessibleState() const {
    TAccessibleState s;
    s.Focusable = true;
    s.Checkable = true;
    const TPopupForm* popup = GroupPopup();
    s.Checked =
        popup != nullptr && popup->Visible() && popup->Highlight() != nullptr && popup->Highlight()->Pinned();
    s.Pressed = s.Checked;
    if (const auto* board = dynamic_cast<const TBoardImage*>(m_parent)) {
        s.Focused = board->Focused() && board->FocusedGroup() == GroupLeader();
    }
    return s;
}

void TBoardHighlight::Activate() {
    // As the pointer would: come in, click, go out. The leave changes nothing
    // once the popup is pinned.
    Perform(CM_MOUSEENTER, 0, 0);
    if (m_enabled) {
        Click();
    }
    Perform(CM_MOUSELEAVE, 0, 0);
}

void TBoardHighlight::DoAccessibleAction() {
    Activate();
}

void TBoardHighlight::PaintFocusMarkIfFocused() {
    const auto* board = dynamic_cast<const TBoardImage*>(m_parent);
    if (board != nullptr && board->FocusMarkVisible() && board->FocusedGroup() == GroupLeader()) {
        TBoardImage::PaintFocusMark(Canvas(), m_width, m_height);
    }
}

void TBoardHighlight::NotifyGroupState() {
    GroupLeader()->AccessibleNotify(acStateChanged);
}

}  // namespace kx
