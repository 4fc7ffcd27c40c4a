#include "Forms.h"

#include "Dialogs.h"
#include "Threads.h"

#include <QCloseEvent>
#include <QCoreApplication>

#include <algorithm>

namespace {
TApplication TheApplication;
}
TApplication *Application = &TheApplication;

void TApplication::HandleException(TObject *Sender)
{
    try {
        throw;
    } catch (const EAbort &) {
    } catch (const std::exception &e) {
        if (OnException)
            OnException(Sender, e);
        else
            ShowException(e);
    } catch (...) {
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

void TCustomForm::SetClientWidth(int Value) { SetBounds(Left(), Top(), Value, Height()); }

void TCustomForm::SetClientHeight(int Value) { SetBounds(Left(), Top(), Width(), Value); }

void TCustomForm::SetActiveControl(TWinControl *Control)
{
    if (Control && GetParentForm(Control) != this)
        return;
    FocusControl(Control);
}

void TCustomForm::FocusControl(TWinControl *Control)
{
    if (FDying || Control == FActiveControl)
        return;
    TWinControl *previous = FActiveControl;
    FActiveControl = Control;
    if (previous)
        previous->DoExit();
    if (Control && Control->isVisible())
        Control->QWidget::setFocus(Qt::OtherFocusReason);
    else if (!Control && isVisible())
        QWidget::setFocus(Qt::OtherFocusReason);
    CMFocusChanged(Control);
    if (Control)
        Control->DoEnter();
}

void TCustomForm::DefocusControl(TControl *Control)
{
    if (Control && Control->ContainsControl(FActiveControl))
        FocusControl(nullptr);
}

namespace {
void CollectTabStops(TWinControl *Parent, std::vector<TWinControl *> &Result)
{
    std::vector<TControl *> children = Parent->Controls();
    std::stable_sort(children.begin(), children.end(), [](TControl *a, TControl *b) {
        auto wa = dynamic_cast<TWinControl *>(a), wb = dynamic_cast<TWinControl *>(b);
        return (wa ? wa->TabOrder : 0) < (wb ? wb->TabOrder : 0);
    });
    for (TControl *child : children)
        if (auto windowed = dynamic_cast<TWinControl *>(child)) {
            if (windowed->TabStop() && windowed->CanFocus())
                Result.push_back(windowed);
            CollectTabStops(windowed, Result);
        }
}
} // namespace

void TCustomForm::SelectNext(bool Forward)
{
    std::vector<TWinControl *> stops;
    CollectTabStops(this, stops);
    if (stops.empty())
        return;
    auto at = std::find(stops.begin(), stops.end(), FActiveControl);
    size_t index;
    if (at == stops.end())
        index = Forward ? 0 : stops.size() - 1;
    else if (Forward)
        index = (static_cast<size_t>(at - stops.begin()) + 1) % stops.size();
    else
        index = (static_cast<size_t>(at - stops.begin()) + stops.size() - 1) % stops.size();
    stops[index]->SetFocus();
}

void TCustomForm::SetModalResult(TModalResult Value) { FModalResult = Value; }

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
    bool wasVisible = Visible();
    try {
        Close();
    } catch (...) {
        Application->HandleException(this);
    }
    // The form decides; Qt only learns whether it is still shown.
    if (wasVisible && Visible() && !FModal)
        Event->ignore();
    else
        Event->accept();
}

void TCustomForm::Activate()
{
    FActive = true;
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
    try {
        if (isActiveWindow() && !FActive)
            Activate();
        else if (!isActiveWindow() && FActive)
            Deactivate();
    } catch (...) {
        Application->HandleException(this);
    }
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
        try {
            if (OnTimer)
                OnTimer(this);
        } catch (...) {
            Application->HandleException(this);
        }
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
