#pragma once
// The class library's object model: persistent objects with assignment, and
// components with an owner, a name and the loading and design states.

#include <functional>
#include <string>
#include <vector>

#include "SysUtils.h"

class TObject {
public:
    virtual ~TObject() = default;
    // Class name as the class library reports it (used in assignment errors).
    virtual const char *ClassName() const { return "TObject"; }
};

using TNotifyEvent = std::function<void(TObject *Sender)>;

// The class library's stream errors: a file that cannot be opened for
// reading (EFOpenError) or created (EFCreateError), and failed reads and
// writes of an open stream (EStreamError itself).
class EStreamError : public Exception {
public:
    using Exception::Exception;
};
class EFOpenError : public EStreamError {
public:
    using EStreamError::EStreamError;
};
class EFCreateError : public EStreamError {
public:
    using EStreamError::EStreamError;
};

class TPersistent : public TObject {
public:
    const char *ClassName() const override { return "TPersistent"; }
    // Copies Source into this object; a Source of an unrelated class raises
    // EConvertError "Cannot assign a <source class> to a <this class>".
    virtual void Assign(const TPersistent *Source);

protected:
    // Lets Source's class copy itself into Dest; the base refuses.
    virtual void AssignTo(TPersistent *Dest) const;
};

enum TComponentStateFlag : unsigned {
    csLoading = 1u << 0,
    csReading = 1u << 1,
    csWriting = 1u << 2,
    csDestroying = 1u << 3,
    csDesigning = 1u << 4,
};

// What Notification reports about a component.
enum TOperation { opInsert, opRemove };

enum TComponentStyleFlag : unsigned {
    csInheritable = 1u << 0,
    csCheckPropAvail = 1u << 1,
};

class TComponent : public TPersistent {
public:
    explicit TComponent(TComponent *AOwner);
    ~TComponent() override;
    TComponent(const TComponent &) = delete;
    TComponent &operator=(const TComponent &) = delete;

    const char *ClassName() const override { return "TComponent"; }

    TComponent *Owner() const { return FOwner; }
    const std::string &Name() const { return FName; }
    virtual void SetName(const std::string &Value) { FName = Value; }

    unsigned ComponentState() const { return FComponentState; }
    unsigned ComponentStyle() const { return FComponentStyle; }
    bool IsLoading() const { return (FComponentState & csLoading) != 0; }
    bool IsDesigning() const { return (FComponentState & csDesigning) != 0; }

    // Window-resource loading bracket: properties set between BeginLoading and
    // EndLoading are stored values; EndLoading clears the state and runs Loaded.
    void BeginLoading();
    void EndLoading();
    // Marks this component (and the components it owns) as hosted by a
    // window editor rather than a running program.
    void SetDesigning(bool Value);

    const std::vector<TComponent *> &Components() const { return FComponents; }
    TComponent *FindComponent(const std::string &AName) const;

    // Links this component and AComponent both ways: whichever is freed first
    // sends the other Notification(itself, opRemove), so that references to
    // components not owned never dangle.
    void FreeNotification(TComponent *AComponent);
    void RemoveFreeNotification(TComponent *AComponent);

protected:
    // Runs after the properties have been read from a window resource.
    virtual void Loaded() {}
    // AComponent, linked by FreeNotification, is being freed (opRemove).
    virtual void Notification(TComponent *AComponent, TOperation Operation)
    {
        (void)AComponent;
        (void)Operation;
    }
    // Sends the opRemove notifications now rather than at the end of the
    // destruction: for a destructor whose links must still see the whole
    // object. The destructor sends none a second time.
    void NotifyFreeing();
    unsigned FComponentStyle = csInheritable | csCheckPropAvail;

private:
    void InsertComponent(TComponent *C) { FComponents.push_back(C); }
    void RemoveComponent(TComponent *C);

    TComponent *FOwner = nullptr;
    std::string FName;
    unsigned FComponentState = 0;
    std::vector<TComponent *> FComponents;
    std::vector<TComponent *> FFreeNotifies;
};
