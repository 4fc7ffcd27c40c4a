// The pop-up menu and its items apart from any window.

#include "Controls.h"
#include "Menus.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>

TEST(PopupMenu, ItemsFreedFirstLeaveTheMenuAndControlsForgetAFreedMenu)
{
    TControl control(nullptr);
    auto *menu = new TPopupMenu(nullptr);
    auto *item = new TMenuItem(nullptr);
    item->SetCaption("Trazi");
    menu->Add(item);
    control.SetPopupMenu(menu);
    int clicks = 0;
    item->OnClick = [&](TObject *) { ++clicks; };
    menu->Menu()->actions().at(0)->trigger();
    EXPECT_EQ(clicks, 1);

    delete item;
    EXPECT_EQ(menu->Count(), 0);
    EXPECT_TRUE(menu->Menu()->actions().isEmpty());
    delete menu;
    EXPECT_EQ(control.PopupMenu(), nullptr);
}
