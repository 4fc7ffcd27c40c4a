#include "CPort.h"

#include "Forms.h"
#include "Messages.h"

#include <cerrno>

uint32_t BaudRateValue(TBaudRate Rate)
{
    static const uint32_t rates[] = {0,     110,   300,   600,   1200,  2400,   4800,   9600,
                                     14400, 19200, 38400, 56000, 57600, 115200, 128000, 256000};
    return Rate <= br256000 ? rates[Rate] : 0;
}

// Settings objects ----------------------------------------------------------

void TComTimeouts::Set(int32_t &Field, int32_t Value)
{
    ChangeComSetting(FComPort, Field, Value, &TCustomComPort::ApplyTimeoutSettings);
}

void TComTimeouts::Assign(const TPersistent *Source)
{
    if (auto *s = dynamic_cast<const TComTimeouts *>(Source)) {
        FReadInterval = s->FReadInterval;
        FReadTotalMultiplier = s->FReadTotalMultiplier;
        FReadTotalConstant = s->FReadTotalConstant;
        FWriteTotalMultiplier = s->FWriteTotalMultiplier;
        FWriteTotalConstant = s->FWriteTotalConstant;
        return;
    }
    TPersistent::Assign(Source);
}

void TComFlowControl::Assign(const TPersistent *Source)
{
    if (auto *s = dynamic_cast<const TComFlowControl *>(Source)) {
        FOutCTSFlow = s->FOutCTSFlow;
        FOutDSRFlow = s->FOutDSRFlow;
        FControlDTR = s->FControlDTR;
        FControlRTS = s->FControlRTS;
        FXonXoffOut = s->FXonXoffOut;
        FXonXoffIn = s->FXonXoffIn;
        FDSRSensitivity = s->FDSRSensitivity;
        FTxContinueOnXoff = s->FTxContinueOnXoff;
        FXonChar = s->FXonChar;
        FXoffChar = s->FXoffChar;
        return;
    }
    TPersistent::Assign(Source);
}

TFlowControl TComFlowControl::FlowControl() const
{
    if (FControlRTS == rtsHandshake && FOutCTSFlow && !FXonXoffIn && !FXonXoffOut)
        return fcHardware;
    if (FControlRTS == rtsDisable && !FOutCTSFlow && FXonXoffIn && FXonXoffOut)
        return fcSoftware;
    if (FControlRTS == rtsDisable && !FOutCTSFlow && !FXonXoffIn && !FXonXoffOut)
        return fcNone;
    return fcCustom;
}

void TComFlowControl::SetFlowControl(TFlowControl Value)
{
    if (Value != fcCustom) {
        FControlRTS = rtsDisable;
        FOutCTSFlow = false;
        FXonXoffIn = false;
        FXonXoffOut = false;
        if (Value == fcHardware) {
            FControlRTS = rtsHandshake;
            FOutCTSFlow = true;
        } else if (Value == fcSoftware) {
            FXonXoffIn = true;
            FXonXoffOut = true;
        }
    }
    if (FComPort)
        FComPort->ApplyLineSettings();
}

void TComParity::Assign(const TPersistent *Source)
{
    if (auto *s = dynamic_cast<const TComParity *>(Source)) {
        FBits = s->FBits;
        FCheck = s->FCheck;
        FReplace = s->FReplace;
        FReplaceChar = s->FReplaceChar;
        return;
    }
    TPersistent::Assign(Source);
}

void TComBuffer::Set(int32_t &Field, int32_t Value)
{
    if (Field == Value)
        return;
    Field = Value > 0 && Value % 2 == 1 ? Value - 1 : Value;
    if (FComPort)
        FComPort->ApplyQueueSizes();
}

void TComBuffer::Assign(const TPersistent *Source)
{
    if (auto *s = dynamic_cast<const TComBuffer *>(Source)) {
        FInputSize = s->FInputSize;
        FOutputSize = s->FOutputSize;
        return;
    }
    TPersistent::Assign(Source);
}

// The port ------------------------------------------------------------------

TCustomComPort::TCustomComPort(TComponent *AOwner) : TComponent(AOwner)
{
    FParity = new TComParity(this);
    FFlowControl = new TComFlowControl(this);
    FTimeouts = new TComTimeouts(this);
    FBuffer = new TComBuffer(this);
    FComponentStyle &= ~unsigned(csInheritable);
}

TCustomComPort::~TCustomComPort()
{
    try {
        ClosePort();
    } catch (...) {
        // A failed close leaves the port open; it must still end here.
    }
    delete EventThread;
    EventThread = nullptr;
    NotifyWindow.reset();
    DeviceHandle.reset();
    delete FBuffer;
    delete FFlowControl;
    delete FTimeouts;
    delete FParity;
}

bool TCustomComPort::Applying() const
{
    return FConnected && FUpdateCount == 0 && !IsLoading() && !IsDesigning();
}

TCommDevice &TCustomComPort::Device(int Code) const
{
    if (!DeviceHandle)
        throw EComPort::CreateWithCode(Code, EBADF);
    return *DeviceHandle;
}

void TCustomComPort::EndSettingsUpdate()
{
    if (FUpdateCount <= 0)
        return;
    if (--FUpdateCount == 0)
        ApplyAllSettings();
}

void TCustomComPort::OpenDeviceHandle()
{
    DeviceHandle = TCommDevice::Open(FPort);
    if (!DeviceHandle)
        throw EComPort::CreateWithCode(1, errno);
}

void TCustomComPort::CloseDeviceHandle()
{
    DeviceHandle.reset();
}

void TCustomComPort::ApplyAllSettings()
{
    ApplyQueueSizes();
    ApplyLineSettings();
    ApplyTimeoutSettings();
}

TDcb TCustomComPort::BuildDcb() const
{
    TDcb dcb;
    dcb.DCBlength = 28;
    dcb.BaudRate = FBaudRate == brCustom ? uint32_t(FCustomBaudRate) : BaudRateValue(FBaudRate);
    dcb.fBinary = true;
    dcb.fParity = FParity->Check();
    dcb.fOutxCtsFlow = FFlowControl->OutCTSFlow();
    dcb.fOutxDsrFlow = FFlowControl->OutDSRFlow();
    dcb.fDtrControl = uint8_t(FFlowControl->ControlDTR());
    dcb.fDsrSensitivity = FFlowControl->DSRSensitivity();
    dcb.fTXContinueOnXoff = FFlowControl->TxContinueOnXoff();
    dcb.fOutX = FFlowControl->XonXoffOut();
    dcb.fInX = FFlowControl->XonXoffIn();
    dcb.fErrorChar = FParity->Check() && FParity->Replace();
    dcb.fNull = FDiscardNull;
    dcb.fRtsControl = uint8_t(FFlowControl->ControlRTS());
    dcb.fAbortOnError = false;
    dcb.XonLim = uint16_t(FBuffer->InputSize() / 4);
    dcb.XoffLim = dcb.XonLim;
    dcb.ByteSize = uint8_t(5 + FDataBits);
    dcb.Parity = uint8_t(FParity->Bits());
    dcb.StopBits = uint8_t(FStopBits);
    dcb.XonChar = FFlowControl->XonChar();
    dcb.XoffChar = FFlowControl->XoffChar();
    dcb.ErrorChar = dcb.fErrorChar ? FParity->ReplaceChar() : 0;
    dcb.EvtChar = FEventChar;
    return dcb;
}

void TCustomComPort::ApplyLineSettings()
{
    if (!Applying())
        return;
    if (!DeviceHandle->SetCommState(BuildDcb()))
        throw EComPort::CreateWithCode(7, errno);
}

void TCustomComPort::ApplyTimeoutSettings()
{
    if (!Applying())
        return;
    TCommTimeouts t;
    t.ReadIntervalTimeout = uint32_t(FTimeouts->ReadInterval());
    t.ReadTotalTimeoutMultiplier = uint32_t(FTimeouts->ReadTotalMultiplier());
    t.ReadTotalTimeoutConstant = uint32_t(FTimeouts->ReadTotalConstant());
    t.WriteTotalTimeoutMultiplier = uint32_t(FTimeouts->WriteTotalMultiplier());
    t.WriteTotalTimeoutConstant = uint32_t(FTimeouts->WriteTotalConstant());
    if (!DeviceHandle->SetCommTimeouts(t))
        throw EComPort::CreateWithCode(8, errno);
}

void TCustomComPort::ApplyQueueSizes()
{
    if (!Applying())
        return;
    if (!DeviceHandle->SetupComm(FBuffer->InputSize(), FBuffer->OutputSize()))
        throw EComPort::CreateWithCode(9, errno);
}

void TCustomComPort::OpenPort()
{
    if (FConnected || IsDesigning())
        return;
    BeforeOpenSteps();
    OpenDeviceHandle();
    FConnected = true;
    try {
        ApplyAllSettings();
    } catch (...) {
        CloseDeviceHandle();
        FConnected = false;
        throw;
    }
    if (FEvents.Empty()) {
        FThreadCreated = false;
    } else {
        if (FSyncMethod == smWindowSync)
            NotifyWindow =
                std::make_unique<TUtilityWindow>([this](TMessage &M) { HandleNotifyMessage(M); });
        EventThread = new TComThread(this);
        FThreadCreated = true;
    }
    AfterOpenSteps();
}

void TCustomComPort::ClosePort()
{
    // Handlers run inside a close (its events, a delivery served while the
    // event thread ends); one that closes the port leaves the work to the
    // close under way, which frees the thread once.
    if (!FConnected || IsDesigning() || FClosing)
        return;
    FClosing = true;
    struct TClosing {
        bool &Flag;
        ~TClosing() { Flag = false; }
    } closing{FClosing};
    BeforeCloseSteps();
    AbortTransfers();
    if (FThreadCreated) {
        delete EventThread;
        EventThread = nullptr;
        FThreadCreated = false;
        if (FSyncMethod == smWindowSync)
            NotifyWindow.reset();
    }
    CloseDeviceHandle();
    FConnected = false;
    FClosing = false;
    AfterCloseSteps();
}

void TCustomComPort::Loaded()
{
    TComponent::Loaded();
    if (FConnected && !IsDesigning()) {
        FConnected = false;
        Guarded(this, [this] { OpenPort(); });
    }
}

// Property setters ------------------------------------------------------------

void TCustomComPort::SetConnected(bool Value)
{
    if (IsLoading() || IsDesigning()) {
        FConnected = Value;
        return;
    }
    if (Value == FConnected)
        return;
    if (Value)
        OpenPort();
    else
        ClosePort();
}

template <typename T> void TCustomComPort::ChangeLineSetting(T &Field, T Value)
{
    if (Value == Field)
        return;
    Field = Value;
    ApplyLineSettings();
}

void TCustomComPort::SetBaudRate(TBaudRate Value)
{
    ChangeLineSetting(FBaudRate, Value);
}

void TCustomComPort::SetCustomBaudRate(int32_t Value)
{
    ChangeLineSetting(FCustomBaudRate, Value);
}

void TCustomComPort::SetStopBits(TStopBits Value)
{
    ChangeLineSetting(FStopBits, Value);
}

void TCustomComPort::SetDataBits(TDataBits Value)
{
    ChangeLineSetting(FDataBits, Value);
}

void TCustomComPort::SetDiscardNull(bool Value)
{
    ChangeLineSetting(FDiscardNull, Value);
}

void TCustomComPort::SetEventChar(char Value)
{
    ChangeLineSetting(FEventChar, Value);
}

void TCustomComPort::SetPort(const std::string &Value)
{
    if (Value == FPort)
        return;
    FPort = Value;
    if (FConnected && !IsLoading() && !IsDesigning()) {
        ClosePort();
        OpenPort();
    }
}

void TCustomComPort::SetSyncMethod(TSyncMethod Value)
{
    if (Value == FSyncMethod)
        return;
    if (FConnected && !IsLoading() && !IsDesigning())
        throw EComPort::CreatePlain(14);
    FSyncMethod = Value;
}

void TCustomComPort::SetBuffer(const TComBuffer *Value)
{
    FBuffer->Assign(Value);
    ApplyQueueSizes();
}

void TCustomComPort::SetParity(const TComParity *Value)
{
    FParity->Assign(Value);
    ApplyLineSettings();
}

void TCustomComPort::SetTimeouts(const TComTimeouts *Value)
{
    FTimeouts->Assign(Value);
    ApplyTimeoutSettings();
}

void TCustomComPort::SetFlowControl(const TComFlowControl *Value)
{
    FFlowControl->Assign(Value);
    ApplyLineSettings();
}
