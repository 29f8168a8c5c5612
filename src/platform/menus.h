#pragma once

#include <string>
#include <vector>

#include <QPointer>

#include "platform/component.h"
#include "platform/types.h"

class QAction;
class QMenu;
class QMenuBar;

namespace kx {

class TMainMenu;

// One menu item: a command, or a menu of further items. Captions are shown
// exactly as set: '&' marks the accelerator and "&&" is a literal '&'.
class TMenuItem : public TComponent {
public:
    KX_CLASS(TMenuItem)

    explicit TMenuItem(TComponent* AOwner);
    ~TMenuItem() override;

    const std::string& Caption() const { return m_caption; }
    void SetCaption(const std::string& caption);
    bool Checked() const { return m_checked; }
    void SetChecked(bool checked);
    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool enabled);
    bool Visible() const { return m_visible; }
    void SetVisible(bool visible);

    int Count() const { return static_cast<int>(m_items.size()); }
    TMenuItem* Items(int index) const { return m_items.at(index); }
    int IndexOf(const TMenuItem* item) const;
    TMenuItem* Parent() const { return m_parentItem; }
    void Insert(int index, TMenuItem* item);
    void Add(TMenuItem* item) { Insert(Count(), item); }
    void Remove(TMenuItem* item);

    // What choosing the item does: raises OnClick with the item as Sender.
    virtual void Click();
    TNotifyEvent OnClick;

    QAction* Action() const { return m_action; }

private:
    friend class TMainMenu;
    // The menu bar (for the root of a main menu) or the item's own submenu.
    void AttachBar(QMenuBar* bar);
    QMenu* EnsureSubmenu();
    void InsertAction(int index, TMenuItem* item);
    void Changed();

    std::string m_caption;
    bool m_checked = false;
    bool m_enabled = true;
    bool m_visible = true;
    std::vector<TMenuItem*> m_items;
    TMenuItem* m_parentItem = nullptr;
    TMainMenu* m_menu = nullptr;  // set on the root item of a main menu
    QAction* m_action = nullptr;
    QMenu* m_submenu = nullptr;
    QPointer<QMenuBar> m_bar;
};

// The menu bar of a form; its top-level items are Items()'s children.
class TMainMenu : public TComponent {
public:
    KX_CLASS(TMainMenu)

    explicit TMainMenu(TComponent* AOwner);
    ~TMainMenu() override;

    TMenuItem* Items() const { return m_items; }

    // Called by the form that shows this menu.
    void AttachTo(QMenuBar* bar);
    TNotifyEvent OnChange;  // the form re-lays out when the bar changes

private:
    friend class TMenuItem;
    TMenuItem* m_items;
};

}  // namespace kx
