#include "Classes.h"

#include <algorithm>

static void AssignError(const TPersistent *Source, const TPersistent *Dest)
{
    const char *source = Source ? Source->ClassName() : "nil";
    throw EConvertError(std::string("Cannot assign a ") + source + " to a " + Dest->ClassName());
}

void TPersistent::Assign(const TPersistent *Source)
{
    if (!Source)
        AssignError(nullptr, this);
    Source->AssignTo(this);
}

void TPersistent::AssignTo(TPersistent *Dest) const
{
    AssignError(this, Dest);
}

TComponent::TComponent(TComponent *AOwner) : FOwner(AOwner)
{
    if (FOwner)
        FOwner->InsertComponent(this);
}

TComponent::~TComponent()
{
    NotifyFreeing();
    // Owned components go first, last created first, as the class library frees them.
    while (!FComponents.empty()) {
        TComponent *c = FComponents.back();
        FComponents.pop_back();
        c->FOwner = nullptr;
        delete c;
    }
    if (FOwner)
        FOwner->RemoveComponent(this);
}

void TComponent::RemoveComponent(TComponent *C)
{
    auto it = std::find(FComponents.begin(), FComponents.end(), C);
    if (it != FComponents.end())
        FComponents.erase(it);
}

void TComponent::BeginLoading()
{
    FComponentState |= csLoading | csReading;
}

void TComponent::EndLoading()
{
    FComponentState &= ~(csLoading | csReading);
    Loaded();
}

void TComponent::SetDesigning(bool Value)
{
    if (Value)
        FComponentState |= csDesigning;
    else
        FComponentState &= ~csDesigning;
    for (TComponent *c : FComponents)
        c->SetDesigning(Value);
}

TComponent *TComponent::FindComponent(const std::string &AName) const
{
    for (TComponent *c : FComponents)
        if (c->Name() == AName)
            return c;
    return nullptr;
}

void TComponent::FreeNotification(TComponent *AComponent)
{
    if (!AComponent || AComponent == this)
        return;
    if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent) == FFreeNotifies.end())
        FFreeNotifies.push_back(AComponent);
    auto &theirs = AComponent->FFreeNotifies;
    if (std::find(theirs.begin(), theirs.end(), this) == theirs.end())
        theirs.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent *AComponent)
{
    if (!AComponent)
        return;
    std::erase(FFreeNotifies, AComponent);
    std::erase(AComponent->FFreeNotifies, this);
}

void TComponent::NotifyFreeing()
{
    FComponentState |= csDestroying;
    while (!FFreeNotifies.empty()) {
        TComponent *c = FFreeNotifies.back();
        FFreeNotifies.pop_back();
        std::erase(c->FFreeNotifies, this);
        c->Notification(this, opRemove);
    }
}
