#pragma once
// Actions and image lists of the class library. An action carries a
// caption, enabled state, hint, visibility and image index to the controls
// linked to it, and runs OnExecute when one of them is clicked; an action
// list groups actions and lends them its image list.

#include "Controls.h"

#include <memory>
#include <string>
#include <vector>

class TCustomImageList;
class TCustomActionList;

// ---------------------------------------------------------------- image lists

// Registered with an image list, it runs OnChange (Sender = the list) when
// the list's images change. Freeing either side unlinks them.
class TChangeLink : public TObject {
public:
    TChangeLink() = default;
    ~TChangeLink() override;
    TChangeLink(const TChangeLink &) = delete;
    TChangeLink &operator=(const TChangeLink &) = delete;
    const char *ClassName() const override { return "TChangeLink"; }

    // The list this link is registered with, or null.
    TCustomImageList *Sender() const { return FSender; }
    TNotifyEvent OnChange;
    void Change();

private:
    friend class TCustomImageList;
    TCustomImageList *FSender = nullptr;
};

class TCustomImageList : public TComponent {
public:
    explicit TCustomImageList(TComponent *AOwner) : TComponent(AOwner) {}
    ~TCustomImageList() override;
    const char *ClassName() const override { return "TCustomImageList"; }

    int Count() const { return static_cast<int>(FImages.size()); }
    // Appends a copy of Image and returns its index.
    int Add(TBitmap *Image);
    void Clear();
    // Makes Image a copy of the picture at Index; an index outside the list
    // leaves Image empty.
    void GetBitmap(int Index, TBitmap *Image) const;

    // A link registered elsewhere moves here.
    void RegisterChanges(TChangeLink *Link);
    void UnRegisterChanges(TChangeLink *Link);

protected:
    void Change();

private:
    std::vector<std::unique_ptr<TBitmap>> FImages;
    std::vector<TChangeLink *> FLinks;
};

class TImageList : public TCustomImageList {
public:
    using TCustomImageList::TCustomImageList;
    const char *ClassName() const override { return "TImageList"; }
};

// ---------------------------------------------------------------- actions

class TBasicAction;

// The tie between an action and one client; the client owns it.
class TBasicActionLink : public TObject {
public:
    TBasicActionLink() = default;
    ~TBasicActionLink() override;
    TBasicActionLink(const TBasicActionLink &) = delete;
    TBasicActionLink &operator=(const TBasicActionLink &) = delete;
    const char *ClassName() const override { return "TBasicActionLink"; }

    TBasicAction *Action() const { return FAction; }
    void SetAction(TBasicAction *Value);
    // Runs the action with AComponent as its ActionComponent; false without one.
    virtual bool Execute(TComponent *AComponent);
    // Takes the client; called once, right after construction.
    virtual void AssignClient(TObject *AClient) { (void)AClient; }

    // Runs with the action as Sender whenever the action changes.
    TNotifyEvent OnChange;

protected:
    friend class TBasicAction;
    void Change();
    TBasicAction *FAction = nullptr;
};

class TBasicAction : public TComponent {
public:
    explicit TBasicAction(TComponent *AOwner) : TComponent(AOwner) {}
    ~TBasicAction() override;
    const char *ClassName() const override { return "TBasicAction"; }

    TNotifyEvent OnExecute;
    // The component that runs the action at the moment, or null.
    TComponent *ActionComponent() const { return FActionComponent; }
    // Raises OnExecute; false when it is not assigned.
    virtual bool Execute();

protected:
    friend class TBasicActionLink;
    // Tells every linked client.
    void Change();
    std::vector<TBasicActionLink *> FClients;
    TComponent *FActionComponent = nullptr;
};

class TContainedAction : public TBasicAction {
public:
    using TBasicAction::TBasicAction;
    ~TContainedAction() override;
    const char *ClassName() const override { return "TContainedAction"; }

    TCustomActionList *ActionList() const { return FActionList; }
    void SetActionList(TCustomActionList *Value);

private:
    friend class TCustomActionList;
    TCustomActionList *FActionList = nullptr;
};

class TActionLink;

class TCustomAction : public TContainedAction {
public:
    using TContainedAction::TContainedAction;
    const char *ClassName() const override { return "TCustomAction"; }

    const std::string &Caption() const { return FCaption; }
    void SetCaption(const std::string &Value);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    const std::string &Hint() const { return FHint; }
    void SetHint(const std::string &Value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    // Index into the action list's image list; -1 for none.
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value);

private:
    // Hands Value to every client link, then stores it and tells them.
    template <class T, class F> void Propagate(T &Field, const T &Value, F ToLink);

    std::string FCaption;
    bool FEnabled = true;
    std::string FHint;
    bool FVisible = true;
    int FImageIndex = -1;
};

class TAction : public TCustomAction {
public:
    using TCustomAction::TCustomAction;
    const char *ClassName() const override { return "TAction"; }
};

class TCustomActionList : public TComponent {
public:
    using TComponent::TComponent;
    ~TCustomActionList() override;
    const char *ClassName() const override { return "TCustomActionList"; }

    // The image list of the actions' images, or null; freeing it unlinks it.
    TCustomImageList *Images() const { return FImages; }
    void SetImages(TCustomImageList *Value);
    const std::vector<TContainedAction *> &Actions() const { return FActions; }

protected:
    void Notification(TComponent *AComponent, TOperation Operation) override;

private:
    friend class TContainedAction;
    TCustomImageList *FImages = nullptr;
    std::vector<TContainedAction *> FActions;
};

class TActionList : public TCustomActionList {
public:
    using TCustomActionList::TCustomActionList;
    const char *ClassName() const override { return "TActionList"; }
};

// ---------------------------------------------------------------- action links

// A link that passes an action's properties on; each property is passed only
// while it is linked.
class TActionLink : public TBasicActionLink {
public:
    const char *ClassName() const override { return "TActionLink"; }
    virtual bool IsCaptionLinked() const { return Custom() != nullptr; }
    virtual bool IsEnabledLinked() const { return Custom() != nullptr; }
    virtual bool IsHintLinked() const { return Custom() != nullptr; }
    virtual bool IsVisibleLinked() const { return Custom() != nullptr; }
    virtual bool IsImageIndexLinked() const { return Custom() != nullptr; }
    // The action is about to take Value; the link passes it to its client.
    virtual void SetCaption(const std::string &Value) { (void)Value; }
    virtual void SetEnabled(bool Value) { (void)Value; }
    virtual void SetHint(const std::string &Value) { (void)Value; }
    virtual void SetVisible(bool Value) { (void)Value; }
    virtual void SetImageIndex(int Value) { (void)Value; }

protected:
    TCustomAction *Custom() const { return dynamic_cast<TCustomAction *>(FAction); }
};

// The link of a control: a property follows the action while the control
// still shows the action's value.
class TControlActionLink : public TActionLink {
public:
    const char *ClassName() const override { return "TControlActionLink"; }
    // AClient must be a TControl (EInvalidCast otherwise).
    void AssignClient(TObject *AClient) override;
    bool IsCaptionLinked() const override;
    bool IsEnabledLinked() const override;
    bool IsHintLinked() const override;
    bool IsVisibleLinked() const override;
    void SetCaption(const std::string &Value) override;
    void SetEnabled(bool Value) override;
    void SetHint(const std::string &Value) override;
    void SetVisible(bool Value) override;

protected:
    TControl *FClient = nullptr;
};

class TWinControlActionLink : public TControlActionLink {
public:
    const char *ClassName() const override { return "TWinControlActionLink"; }
};

// A TControlActionLinkClass for link class L.
template <class L> TControlActionLink *NewActionLink(TControl *Client)
{
    auto link = std::make_unique<L>();
    link->AssignClient(Client);
    return link.release();
}
