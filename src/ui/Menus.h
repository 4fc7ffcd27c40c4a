#pragma once
// The pop-up menu of a control: items with a caption and OnClick, shown on
// a right click of every control whose PopupMenu it is (Controls.h).

#include "Classes.h"
#include "Graphics.h"

#include <string>
#include <vector>

class QAction;
class QMenu;

class TMenuItem : public TComponent {
public:
    explicit TMenuItem(TComponent *AOwner);
    ~TMenuItem() override;
    const char *ClassName() const override { return "TMenuItem"; }

    const std::string &Caption() const { return FCaption; }
    void SetCaption(const std::string &Value);
    TNotifyEvent OnClick;

    // Raises OnClick, as choosing the item does.
    virtual void Click();

    // The item's entry in Qt menus.
    QAction *Entry() const { return FEntry; }

private:
    std::string FCaption;
    QAction *FEntry;
};

class TPopupMenu : public TComponent {
public:
    explicit TPopupMenu(TComponent *AOwner);
    ~TPopupMenu() override;
    const char *ClassName() const override { return "TPopupMenu"; }

    // Appends Item (not owned: the window owns its items); an item freed
    // first leaves the menu.
    void Add(TMenuItem *Item);
    int Count() const { return int(FItems.size()); }
    TMenuItem *Items(int Index) const { return FItems.at(std::size_t(Index)); }

    // The control whose right click showed the menu last, or null.
    TComponent *PopupComponent = nullptr;
    // Runs before the menu shows.
    TNotifyEvent OnPopup;

    // Shows the menu at the screen point (X, Y) and returns at once; a
    // chosen item runs its Click, and what escapes it goes to the
    // application's exception handling.
    virtual void Popup(int X, int Y);

    QMenu *Menu() const { return FMenu; }

protected:
    void Notification(TComponent *AComponent, TOperation Operation) override;

private:
    std::vector<TMenuItem *> FItems;
    QMenu *FMenu;
};
