#include "ActnList.h"

#include <algorithm>

namespace {
// Moves Item from the List of the holder it has to that of Value.
template <class H, class I, class L> void Relink(H *&Holder, H *Value, I *Item, L H::*List)
{
    if (Holder == Value)
        return;
    if (Holder)
        std::erase(Holder->*List, Item);
    Holder = Value;
    if (Holder)
        (Holder->*List).push_back(Item);
}
} // namespace

// ---------------------------------------------------------------- image lists

TChangeLink::~TChangeLink()
{
    if (FSender)
        FSender->UnRegisterChanges(this);
}

void TChangeLink::Change()
{
    if (OnChange)
        OnChange(FSender);
}

TCustomImageList::~TCustomImageList()
{
    for (TChangeLink *link : FLinks)
        link->FSender = nullptr;
}

int TCustomImageList::Add(TBitmap *Image)
{
    auto copy = std::make_unique<TBitmap>();
    copy->Assign(Image);
    FImages.push_back(std::move(copy));
    Change();
    return Count() - 1;
}

void TCustomImageList::Clear()
{
    FImages.clear();
    Change();
}

void TCustomImageList::GetBitmap(int Index, TBitmap *Image) const
{
    if (!Image)
        return;
    Image->Assign(Index >= 0 && Index < Count() ? FImages[static_cast<size_t>(Index)].get()
                                                : nullptr);
}

void TCustomImageList::RegisterChanges(TChangeLink *Link)
{
    if (!Link || Link->FSender == this)
        return;
    if (Link->FSender)
        Link->FSender->UnRegisterChanges(Link);
    Link->FSender = this;
    FLinks.push_back(Link);
}

void TCustomImageList::UnRegisterChanges(TChangeLink *Link)
{
    if (!Link || Link->FSender != this)
        return;
    Link->FSender = nullptr;
    std::erase(FLinks, Link);
}

void TCustomImageList::Change()
{
    // A handler may register or unregister links.
    std::vector<TChangeLink *> links = FLinks;
    for (TChangeLink *link : links)
        if (link->FSender == this)
            link->Change();
}

// ---------------------------------------------------------------- actions

TBasicActionLink::~TBasicActionLink()
{
    SetAction(nullptr);
}

void TBasicActionLink::SetAction(TBasicAction *Value)
{
    Relink(FAction, Value, this, &TBasicAction::FClients);
}

bool TBasicActionLink::Execute(TComponent *AComponent)
{
    if (!FAction)
        return false;
    FAction->FActionComponent = AComponent;
    struct TReset {
        TBasicAction *Action;
        ~TReset() { Action->FActionComponent = nullptr; }
    } reset{FAction};
    return FAction->Execute();
}

void TBasicActionLink::Change()
{
    if (OnChange)
        OnChange(FAction);
}

TBasicAction::~TBasicAction()
{
    // The clients drop their links while this action is still whole.
    NotifyFreeing();
    while (!FClients.empty())
        FClients.back()->SetAction(nullptr);
}

bool TBasicAction::Execute()
{
    if (!OnExecute)
        return false;
    OnExecute(this);
    return true;
}

void TBasicAction::Change()
{
    std::vector<TBasicActionLink *> clients = FClients;
    for (TBasicActionLink *link : clients)
        if (link->FAction == this)
            link->Change();
}

TContainedAction::~TContainedAction()
{
    SetActionList(nullptr);
}

void TContainedAction::SetActionList(TCustomActionList *Value)
{
    Relink(FActionList, Value, this, &TCustomActionList::FActions);
}

template <class T, class F> void TCustomAction::Propagate(T &Field, const T &Value, F ToLink)
{
    if (Field == Value)
        return;
    for (TBasicActionLink *client : std::vector<TBasicActionLink *>(FClients))
        if (auto link = dynamic_cast<TActionLink *>(client))
            ToLink(link, Value);
    Field = Value;
    Change();
}

void TCustomAction::SetCaption(const std::string &Value)
{
    Propagate(FCaption, Value, [](TActionLink *L, const std::string &V) { L->SetCaption(V); });
}

void TCustomAction::SetEnabled(bool Value)
{
    Propagate(FEnabled, Value, [](TActionLink *L, bool V) { L->SetEnabled(V); });
}

void TCustomAction::SetHint(const std::string &Value)
{
    Propagate(FHint, Value, [](TActionLink *L, const std::string &V) { L->SetHint(V); });
}

void TCustomAction::SetVisible(bool Value)
{
    Propagate(FVisible, Value, [](TActionLink *L, bool V) { L->SetVisible(V); });
}

void TCustomAction::SetImageIndex(int Value)
{
    Propagate(FImageIndex, Value, [](TActionLink *L, int V) { L->SetImageIndex(V); });
}

TCustomActionList::~TCustomActionList()
{
    while (!FActions.empty())
        FActions.back()->SetActionList(nullptr);
}

void TCustomActionList::SetImages(TCustomImageList *Value)
{
    if (FImages == Value)
        return;
    FImages = Value;
    if (Value)
        Value->FreeNotification(this);
}

void TCustomActionList::Notification(TComponent *AComponent, TOperation Operation)
{
    if (Operation == opRemove && AComponent == FImages)
        FImages = nullptr;
}

// ---------------------------------------------------------------- action links

void TControlActionLink::AssignClient(TObject *AClient)
{
    FClient = dynamic_cast<TControl *>(AClient);
    if (!FClient)
        throw EInvalidCast();
}

bool TControlActionLink::IsCaptionLinked() const
{
    return TActionLink::IsCaptionLinked() && FClient->Caption() == Custom()->Caption();
}

bool TControlActionLink::IsEnabledLinked() const
{
    return TActionLink::IsEnabledLinked() && FClient->Enabled() == Custom()->Enabled();
}

bool TControlActionLink::IsHintLinked() const
{
    return TActionLink::IsHintLinked() && FClient->Hint() == Custom()->Hint();
}

bool TControlActionLink::IsVisibleLinked() const
{
    return TActionLink::IsVisibleLinked() && FClient->Visible() == Custom()->Visible();
}

void TControlActionLink::SetCaption(const std::string &Value)
{
    if (IsCaptionLinked())
        FClient->SetCaption(Value);
}

void TControlActionLink::SetEnabled(bool Value)
{
    if (IsEnabledLinked())
        FClient->SetEnabled(Value);
}

void TControlActionLink::SetHint(const std::string &Value)
{
    if (IsHintLinked())
        FClient->SetHint(Value);
}

void TControlActionLink::SetVisible(bool Value)
{
    if (IsVisibleLinked())
        FClient->SetVisible(Value);
}
