#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "platform/form.h"
#include "platform/menus.h"
#include "support/kx_fixture.h"

namespace kx {
namespace {

using test::AppFixture;

class MenuTest : public AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        form = new TForm(&App());
        menu = new TMainMenu(form);
        file = Item("File1", "&File");
        help = Item("Help1", "&Help");
        menu->Items()->Add(file);
        menu->Items()->Add(help);
        exitItem = Item("Exit2", "&Exit");
        file->Add(exitItem);
        form->SetMenu(menu);
    }
    TMenuItem* Item(const char* name, const char* caption) {
        auto* i = new TMenuItem(form);
        i->SetName(name);
        i->SetCaption(caption);
        return i;
    }
    QStringList BarTexts() const {
        QStringList out;
        for (QAction* a : form->MenuBar()->actions())
            out << a->text();
        return out;
    }

    TForm* form = nullptr;
    TMainMenu* menu = nullptr;
    TMenuItem* file = nullptr;
    TMenuItem* help = nullptr;
    TMenuItem* exitItem = nullptr;
};

TEST_F(MenuTest, TheBarShowsCaptionsExactlyAsSet) {
    EXPECT_EQ(BarTexts(), (QStringList{"&File", "&Help"}));
    auto* amp = Item("Amp1", "A&&B");
    file->Add(amp);
    ASSERT_NE(file->Action()->menu(), nullptr);
    EXPECT_EQ(file->Action()->menu()->actions().at(1)->text(), "A&&B");
}

TEST_F(MenuTest, InsertingAtAnIndexPlacesTheItemThereInTheBarToo) {
    auto* settings = Item("Settings1", "&Settings");
    menu->Items()->Insert(1, settings);
    EXPECT_EQ(menu->Items()->IndexOf(settings), 1);
    EXPECT_EQ(BarTexts(), (QStringList{"&File", "&Settings", "&Help"}));
    auto* options = Item("Options1", "&Options");
    menu->Items()->Insert(menu->Items()->Count(), options);
    EXPECT_EQ(BarTexts(), (QStringList{"&File", "&Settings", "&Help", "&Options"}));
}

TEST_F(MenuTest, ChoosingAnItemRaisesOnClickWithTheItemAndNeverTogglesTheCheck) {
    TObject* sender = nullptr;
    exitItem->OnClick = [&](TObject* s) { sender = s; };
    exitItem->Action()->trigger();
    EXPECT_EQ(sender, exitItem);
    EXPECT_FALSE(exitItem->Checked());
    EXPECT_FALSE(exitItem->Action()->isChecked());

    exitItem->SetChecked(true);
    EXPECT_TRUE(exitItem->Action()->isChecked());
    exitItem->Action()->trigger();
    EXPECT_TRUE(exitItem->Checked());
    EXPECT_TRUE(exitItem->Action()->isChecked());
    exitItem->SetChecked(false);
    EXPECT_FALSE(exitItem->Action()->isChecked());
}

TEST_F(MenuTest, DestroyedItemsLeaveTheBar) {
    delete help;
    EXPECT_EQ(BarTexts(), (QStringList{"&File"}));
    EXPECT_EQ(menu->Items()->Count(), 1);
}

TEST_F(MenuTest, TheMenuBarLiesOutsideTheClientArea) {
    form->SetBounds(0, 0, 400, 300);
    EXPECT_GT(form->ClientOrigin().Y, test::kTestFrame.top());
    EXPECT_LT(form->ClientHeight(), 300 - test::kTestFrame.top() - test::kTestFrame.bottom());
}

}  // namespace
}  // namespace kx
