#include "Menus.h"

#include "Forms.h"
#include "Text.h"

#include <QAction>
#include <QMenu>

#include <algorithm>

TMenuItem::TMenuItem(TComponent *AOwner) : TComponent(AOwner), FEntry(new QAction)
{
    QObject::connect(FEntry, &QAction::triggered, FEntry,
                     [this] { Guarded(this, [this] { Click(); }); });
}

TMenuItem::~TMenuItem()
{
    // Takes the entry out of every menu showing it.
    delete FEntry;
}

void TMenuItem::SetCaption(const std::string &Value)
{
    FCaption = Value;
    FEntry->setText(FromAnsi(Value));
}

void TMenuItem::Click()
{
    if (OnClick)
        OnClick(this);
}

TPopupMenu::TPopupMenu(TComponent *AOwner) : TComponent(AOwner), FMenu(new QMenu) {}

TPopupMenu::~TPopupMenu()
{
    delete FMenu;
}

void TPopupMenu::Add(TMenuItem *Item)
{
    FItems.push_back(Item);
    FreeNotification(Item);
    FMenu->addAction(Item->Entry());
}

void TPopupMenu::Popup(int X, int Y)
{
    if (OnPopup)
        OnPopup(this);
    FMenu->popup(QPoint(X, Y));
}

void TPopupMenu::Notification(TComponent *AComponent, TOperation Operation)
{
    if (Operation == opRemove)
        FItems.erase(std::remove(FItems.begin(), FItems.end(), AComponent), FItems.end());
}
