#include "platform/menus.h"

#include <algorithm>

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "platform/qt_bridge.h"

namespace kx {

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner) {
    m_action = new QAction();
    m_action->setCheckable(false);
    QObject::connect(m_action, &QAction::triggered, m_action, [this] {
        // The item decides its check mark; Qt must not toggle it.
        if (m_action->isCheckable() && m_action->isChecked() != m_checked) {
            m_action->setChecked(m_checked);
        }
        SafeCall([this] { Click(); });
    });
}

TMenuItem::~TMenuItem() {
    Destroying();
    // Sub-items are components of some owner; only unhook them here.
    for (TMenuItem* child : m_items) {
        child->m_parentItem = nullptr;
    }
    m_items.clear();
    if (m_parentItem != nullptr) {
        m_parentItem->Remove(this);
    }
    delete m_action;
    delete m_submenu;
}

void TMenuItem::SetCaption(const std::string& caption) {
    if (caption == m_caption) {
        return;
    }
    m_caption = caption;
    m_action->setText(QString::fromStdString(caption));
    if (m_submenu != nullptr) {
        m_submenu->setTitle(QString::fromStdString(caption));
    }
    Changed();
}

void TMenuItem::SetChecked(bool checked) {
    if (checked == m_checked) {
        return;
    }
    m_checked = checked;
    // A check mark needs a checkable action; an unchecked item stays plain so
    // choosing it never toggles anything.
    m_action->setCheckable(checked || m_action->isCheckable());
    m_action->setChecked(checked);
}

void TMenuItem::SetEnabled(bool enabled) {
    if (enabled == m_enabled) {
        return;
    }
    m_enabled = enabled;
    m_action->setEnabled(enabled);
}

void TMenuItem::SetVisible(bool visible) {
    if (visible == m_visible) {
        return;
    }
    m_visible = visible;
    m_action->setVisible(visible);
    Changed();
}

int TMenuItem::IndexOf(const TMenuItem* item) const {
    auto it = std::find(m_items.begin(), m_items.end(), item);
    return it == m_items.end() ? -1 : static_cast<int>(it - m_items.begin());
}

void TMenuItem::Insert(int index, TMenuItem* item) {
    if (item == nullptr || item == this) {
        return;
    }
    if (item->m_parentItem != nullptr) {
        item->m_parentItem->Remove(item);
    }
    index = std::clamp(index, 0, Count());
    m_items.insert(m_items.begin() + index, item);
    item->m_parentItem = this;
    InsertAction(index, item);
    Changed();
}

void TMenuItem::InsertAction(int index, TMenuItem* item) {
    QWidget* container = nullptr;
    if (m_menu != nullptr) {
        container = m_bar.data();
    } else {
        container = EnsureSubmenu();
    }
    if (container == nullptr) {
        return;
    }
    QAction* before = index + 1 < Count() ? m_items[index + 1]->m_action : nullptr;
    container->insertAction(before, item->m_action);
}

void TMenuItem::Remove(TMenuItem* item) {
    const int i = IndexOf(item);
    if (i < 0) {
        return;
    }
    m_items.erase(m_items.begin() + i);
    item->m_parentItem = nullptr;
    if (m_menu != nullptr && m_bar != nullptr) {
        m_bar->removeAction(item->m_action);
    } else if (m_submenu != nullptr) {
        m_submenu->removeAction(item->m_action);
    }
    Changed();
}

QMenu* TMenuItem::EnsureSubmenu() {
    if (m_submenu == nullptr) {
        m_submenu = new QMenu();
        m_submenu->setTitle(QString::fromStdString(m_caption));
        m_action->setMenu(m_submenu);
    }
    return m_submenu;
}

void TMenuItem::AttachBar(QMenuBar* bar) {
    if (m_bar == bar) {
        return;
    }
    if (m_bar != nullptr) {
        for (TMenuItem* child : m_items) {
            m_bar->removeAction(child->m_action);
        }
    }
    m_bar = bar;
    if (bar != nullptr) {
        for (TMenuItem* child : m_items) {
            bar->addAction(child->m_action);
        }
    }
}

void TMenuItem::Changed() {
    const TMenuItem* root = this;
    while (root->m_parentItem != nullptr) {
        root = root->m_parentItem;
    }
    if (root->m_menu != nullptr && root->m_menu->OnChange) {
        root->m_menu->OnChange(root->m_menu);
    }
}

void TMenuItem::Click() {
    if (OnClick) {
        OnClick(this);
    }
}

TMainMenu::TMainMenu(TComponent* AOwner) : TComponent(AOwner) {
    // The root item belongs to the menu itself, not to the owner's list.
    m_items = new TMenuItem(nullptr);
    m_items->m_menu = this;
}

TMainMenu::~TMainMenu() {
    Destroying();
    m_items->AttachBar(nullptr);
    delete m_items;
}

void TMainMenu::AttachTo(QMenuBar* bar) {
    m_items->AttachBar(bar);
}

}  // namespace kx
