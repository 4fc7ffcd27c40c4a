#include "Forms.h"

#include "Dialogs.h"
#include "Threads.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QPointer>
#include <QScopedValueRollback>

#include <algorithm>

namespace {
TApplication TheApplication;
}
TApplication *Application = &TheApplication;

void TApplication::HandleException(TObject *Sender)
{
    const auto report = [&](const std::exception &E) {
        if (OnException)
            OnException(Sender, E);
        else
            ShowException(E);
    };
    try {
        throw;
    } catch (const EAbort &) {
    } catch (const std::exception &e) {
        report(e);
    } catch (...) {
        // Something that is no exception class of ours still gets told once.
        report(Exception("Unknown exception"));
    }
}

void TApplication::ShowException(const std::exception &E)
{
    std::string message = E.what();
    if (!message.empty() && static_cast<unsigned char>(message.back()) > '.')
        message += '.';
    Dialogs().MessageBox(message, Title, MB_OK | MB_ICONSTOP);
}

void TApplication::ProcessMessages()
{
    QCoreApplication::processEvents();
    if (IsMainThread())
        CheckSynchronize();
}

// ---------------------------------------------------------------- forms

TCustomForm::TCustomForm(TComponent *AOwner) : TWinControl(AOwner)
{
    SetVisible(false);
    SetColor(clBtnFace);
    SetBounds(0, 0, 320, 240);
}

TCustomForm::~TCustomForm()
{
    FActiveControl = nullptr;
    FDying = true;
}

void TCustomForm::SetClientWidth(int Value)
{
    SetBounds(Left(), Top(), Value, Height());
}

void TCustomForm::SetClientHeight(int Value)
{
    SetBounds(Left(), Top(), Width(), Value);
}

void TCustomForm::SetActiveControl(TWinControl *Control)
{
    // While loading, the control named may not show yet.
    if (Control && (Control == this || GetParentForm(Control) != this ||
                    (!IsLoading() && !Control->CanFocus())))
        throw EInvalidOperation("Cannot focus a disabled or invisible window");
    FocusControl(Control);
}

void TCustomForm::FocusControl(TWinControl *Control, bool ExitPrevious)
{
    if (FDying || Control == FActiveControl)
        return;
    TWinControl *previous = FActiveControl;
    // A control exits once per stay: a change its OnExit starts finds it
    // already leaving.
    if (previous && ExitPrevious && previous != FExiting) {
        QPointer<TWinControl> exiting = previous;
        try {
            QScopedValueRollback<TWinControl *> leaving(FExiting, previous);
            previous->DoExit();
        } catch (...) {
            // The change stops, and the keys stay where they were, even when
            // the window system had already moved them.
            if (exiting && FActiveControl == exiting && exiting->isVisible())
                exiting->QWidget::setFocus(Qt::OtherFocusReason);
            throw;
        }
        // OnExit moved the focus itself: that change stands.
        if (FActiveControl != previous)
            return;
    }
    FActiveControl = Control;
    if (Control && Control->isVisible())
        Control->QWidget::setFocus(Qt::OtherFocusReason);
    else if (!Control && isVisible())
        QWidget::setFocus(Qt::OtherFocusReason);
    CMFocusChanged(Control);
    if (Control)
        Control->DoEnter();
}

void TCustomForm::DefocusControl(TControl *Control, bool Removing)
{
    if (Control && Control->ContainsControl(FActiveControl))
        FocusControl(nullptr, !Removing);
}

void TCustomForm::SelectNext(bool Forward)
{
    if (TWinControl *next = FindNextControl(FActiveControl, Forward))
        next->SetFocus();
}

void TCustomForm::SetModalResult(TModalResult Value)
{
    FModalResult = Value;
}

void TCustomForm::ShowForm()
{
    HandleNeeded();
    SetVisible(true);
    QWidget::show();
    raise();
    activateWindow();
}

TModalResult TCustomForm::ShowModal()
{
    FModalResult = mrNone;
    FModal = true;
    setWindowModality(Qt::ApplicationModal);
    ShowForm();
    while (FModalResult == mrNone)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    FModal = false;
    SetVisible(false);
    return FModalResult;
}

void TCustomForm::Close()
{
    int action = caHide;
    if (OnClose)
        OnClose(this, action);
    if (action == caNone)
        return;
    if (FModal) {
        if (FModalResult == mrNone)
            FModalResult = mrCancel;
        return;
    }
    SetVisible(false);
}

void TCustomForm::closeEvent(QCloseEvent *Event)
{
    Guarded(this, [this] { Close(); });
    // The form decides; Qt hides the window only when it let go: a modal
    // run goes on until a close ends it.
    const bool stays = FModal ? FModalResult == mrNone : Visible();
    if (stays)
        Event->ignore();
    else
        Event->accept();
}

void TCustomForm::Activate()
{
    FActive = true;
    if (!FActiveControl)
        SelectFirst();
    else if (FActiveControl->isVisible())
        // Back from a dialog: the keys go where they were.
        FActiveControl->QWidget::setFocus(Qt::ActiveWindowFocusReason);
    if (OnActivate)
        OnActivate(this);
}

void TCustomForm::Deactivate()
{
    FActive = false;
    if (OnDeactivate)
        OnDeactivate(this);
}

void TCustomForm::changeEvent(QEvent *Event)
{
    TWinControl::changeEvent(Event);
    if (Event->type() != QEvent::ActivationChange)
        return;
    Guarded(this, [this] {
        if (isActiveWindow() && !FActive)
            Activate();
        else if (!isActiveWindow() && FActive)
            Deactivate();
    });
}

bool TCustomForm::DialogKey(uint16_t Key, TShiftState Shift)
{
    if (!(Shift & ssAlt)) {
        if (Key == VK_TAB && !(Shift & ssCtrl)) {
            SelectNext(!(Shift & ssShift));
            return true;
        }
        if (Key >= VK_LEFT && Key <= VK_DOWN) {
            if (!FActiveControl)
                return false;
            SelectNext(Key == VK_RIGHT || Key == VK_DOWN);
            return true;
        }
    }
    TCMDialogKey message{Key, Shift, 0};
    CMDialogKey(message);
    return message.Result != 0;
}

bool TCustomForm::DialogChar(char Key, TShiftState Shift)
{
    TCMDialogKey message{static_cast<uint16_t>(static_cast<unsigned char>(Key)), Shift, 0};
    CMDialogChar(message);
    return message.Result != 0;
}

// ---------------------------------------------------------------- timer

TTimer::TTimer(TComponent *AOwner) : TComponent(AOwner)
{
    // Qt's coarse timers may run 5 % early or late; a reading every second
    // should come every second.
    FTimer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&FTimer, &QTimer::timeout, &FTimer, [this] {
        Guarded(this, [this] {
            if (OnTimer)
                OnTimer(this);
        });
    });
    UpdateTimer();
}

void TTimer::SetEnabled(bool Value)
{
    if (FEnabled != Value) {
        FEnabled = Value;
        UpdateTimer();
    }
}

void TTimer::SetInterval(unsigned Value)
{
    if (FInterval != Value) {
        FInterval = Value;
        UpdateTimer();
    }
}

void TTimer::UpdateTimer()
{
    FTimer.stop();
    if (FEnabled && FInterval > 0)
        FTimer.start(static_cast<int>(FInterval));
}
