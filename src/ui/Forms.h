#pragma once
// The application object, forms and timers.

#include "Classes.h"
#include "Controls.h"

#include <QTimer>

#include <exception>
#include <functional>
#include <string>

class TApplication {
public:
    std::string Title;
    // Takes exceptions that escape event handlers, when assigned.
    std::function<void(TObject *Sender, const std::exception &E)> OnException;

    // The class library's handling of an exception escaping a handler: an
    // EAbort is ignored; otherwise OnException gets it if assigned, else it is
    // shown; one of no std::exception type is told as an unknown exception.
    // Call inside a catch block.
    void HandleException(TObject *Sender);
    // Shows E's message, with a full stop added, under the application title.
    void ShowException(const std::exception &E);
    // Serves pending events and cross-thread calls once.
    void ProcessMessages();
};

extern TApplication *Application;

// Runs event code as the class library's message loop runs a handler: what
// escapes goes to Application->HandleException. Every entry from Qt's event
// loop into the program's handlers (widget, form and timer events, signals
// of a face, menus, the port's deliveries) goes through here, since an
// exception leaving a Qt event handler or signal would end the program.
template <class F> void Guarded(TObject *Sender, F &&Code)
{
    try {
        Code();
    } catch (...) {
        Application->HandleException(Sender);
    }
}

// ---------------------------------------------------------------- forms

using TCloseEvent = std::function<void(TObject *Sender, int &Action)>;
enum : int { caNone = 0, caHide = 1, caFree = 2, caMinimize = 3 };

// A top-level window built in code. It keeps the focused control, hands
// focus changes to all of its controls, offers Enter and Esc to them as
// dialog keys and typed characters as accelerators, and ends a modal run
// when ModalResult is set.
class TCustomForm : public TWinControl {
public:
    explicit TCustomForm(TComponent *AOwner);
    ~TCustomForm() override;
    const char *ClassName() const override { return "TCustomForm"; }

    void SetClientWidth(int Value);
    void SetClientHeight(int Value);

    // The focused control; setting it moves the focus there. A control
    // that cannot take the focus, or is not on this form, raises
    // EInvalidOperation and changes nothing.
    TWinControl *ActiveControl() const { return FActiveControl; }
    void SetActiveControl(TWinControl *Control);
    // Moves the focus to the next (or previous) control with TabStop.
    void SelectNext(bool Forward = true);
    // Control, going or no longer able to take keys, gives up the focus it
    // or a child of it holds: the form has no focused control then, and
    // keys reach the form itself. The one way a form lets go of a control:
    // hidden or disabled, the control exits as usual; Removing (freed, or
    // moved out of the form) it is gone from the form and gets no OnExit.
    void DefocusControl(TControl *Control, bool Removing = false);

    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult Value);
    // Shows the form and serves events until ModalResult is not mrNone
    // (closing the window gives mrCancel); returns it.
    TModalResult ShowModal();
    // Creates the windows and shows the form.
    void ShowForm();
    // Asks OnClose, then hides the form (or ends a modal run).
    void Close();

    // The form sees key presses before its focused control.
    bool KeyPreview = false;

    TNotifyEvent OnCreate;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TNotifyEvent OnShow;
    TCloseEvent OnClose;

    // A form's caption is its window's title, which the window system
    // draws: nothing in the form's own picture changes with it.
    void CMTextChanged() override {}

    // The window became the active one: with no focused control the first
    // of the tab order takes the focus, then OnActivate runs. The window
    // system's activation calls it; programs and tests may call it too.
    virtual void Activate();
    virtual void Deactivate();

    // Offers a dialog key: Tab moves the focus; other keys go to the
    // controls until one takes them. Returns whether one did.
    bool DialogKey(uint16_t Key, TShiftState Shift);
    // Offers an accelerator character to the controls; returns whether one took it.
    bool DialogChar(char Key, TShiftState Shift);

protected:
    void changeEvent(QEvent *Event) override;
    void closeEvent(QCloseEvent *Event) override;

private:
    friend class TWinControl;
    // Moves the focus to Control (null: none) and tells every control;
    // the control losing it exits unless it is being removed. The change
    // stops where that OnExit throws or moves the focus itself.
    void FocusControl(TWinControl *Control, bool ExitPrevious = true);

    TWinControl *FActiveControl = nullptr;
    TWinControl *FExiting = nullptr;
    TModalResult FModalResult = mrNone;
    bool FModal = false;
    bool FActive = false;
    bool FDying = false;
};

class TForm : public TCustomForm {
public:
    explicit TForm(TComponent *AOwner) : TCustomForm(AOwner) {}
    const char *ClassName() const override { return "TForm"; }
};

// ---------------------------------------------------------------- timer

// Runs OnTimer every Interval milliseconds on the GUI thread while Enabled
// and Interval is above 0.
class TTimer : public TComponent {
public:
    explicit TTimer(TComponent *AOwner);
    const char *ClassName() const override { return "TTimer"; }

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    unsigned Interval() const { return FInterval; }
    void SetInterval(unsigned Value);
    TNotifyEvent OnTimer;

private:
    void UpdateTimer();
    QTimer FTimer;
    bool FEnabled = true;
    unsigned FInterval = 1000;
};
