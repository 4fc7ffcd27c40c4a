#pragma once
// The serial port component: one serial port of the machine, configured by
// its properties, opened for the event-driven use of a window program.
//
// All operations run on the GUI thread. Received characters and line events
// are reported by the port's event thread through the On... events, on the
// GUI thread by default (SyncMethod). Every failure raises EComPort.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "Classes.h"
#include "CommDevice.h"
#include "SysUtils.h"
#include "Threads.h"

class TIniFile;
class TRegistry;
class TUtilityWindow;
struct TMessage;

// A set of up to 16 enumeration values, bit n for the n-th value, as the
// class library stores sets.
template <typename E> class TSetOf {
public:
    constexpr TSetOf() = default;
    constexpr TSetOf(std::initializer_list<E> Values)
    {
        for (E v : Values)
            FBits |= uint16_t(1u << unsigned(v));
    }
    static constexpr TSetOf FromBits(uint16_t Bits)
    {
        TSetOf s;
        s.FBits = Bits;
        return s;
    }
    constexpr uint16_t Bits() const { return FBits; }
    constexpr bool Contains(E v) const { return (FBits >> unsigned(v)) & 1u; }
    constexpr bool Empty() const { return FBits == 0; }
    constexpr void Include(E v) { FBits |= uint16_t(1u << unsigned(v)); }
    constexpr void Exclude(E v) { FBits &= uint16_t(~(1u << unsigned(v))); }
    constexpr bool operator==(const TSetOf &) const = default;

private:
    uint16_t FBits = 0;
};

enum TBaudRate : uint8_t {
    brCustom,
    br110,
    br300,
    br600,
    br1200,
    br2400,
    br4800,
    br9600,
    br14400,
    br19200,
    br38400,
    br56000,
    br57600,
    br115200,
    br128000,
    br256000
};
enum TStopBits : uint8_t { sbOneStopBit, sbOne5StopBits, sbTwoStopBits };
enum TDataBits : uint8_t { dbFive, dbSix, dbSeven, dbEight };
enum TParityBits : uint8_t { prNone, prOdd, prEven, prMark, prSpace };
enum TDTRFlowControl : uint8_t { dtrDisable, dtrEnable, dtrHandshake };
enum TRTSFlowControl : uint8_t { rtsDisable, rtsEnable, rtsHandshake, rtsToggle };
enum TFlowControl : uint8_t { fcHardware, fcSoftware, fcNone, fcCustom };
enum TSyncMethod : uint8_t { smThreadSync, smWindowSync, smNone };

enum TComEvent : uint8_t {
    evRxChar,
    evTxEmpty,
    evRxFlag,
    evRing,
    evBreak,
    evCTS,
    evDSR,
    evError,
    evRLSD,
    evRx80Full
};
using TComEvents = TSetOf<TComEvent>;
constexpr TComEvents AllComEvents = TComEvents::FromBits(0x03FF);

enum TModemSignal : uint8_t { msCTS, msDSR, msRing, msRLSD };
using TModemSignals = TSetOf<TModemSignal>;

enum TComError : uint8_t {
    leFrame,
    leRxParity,
    leOverrun,
    leBreak,
    leIOE,
    leMode,
    leRxOver,
    leTxFull
};
using TComErrors = TSetOf<TComError>;

enum TSettingsStore : uint8_t { ssRegistry, ssIniFile };
enum TSettingsGroup : uint8_t { sgBasic, sgFlowControl, sgBuffer, sgTimeouts, sgParity, sgOther };
using TSettingsGroups = TSetOf<TSettingsGroup>;

// Rate in bit/s of each TBaudRate but brCustom (0).
uint32_t BaudRateValue(TBaudRate Rate);
// The Windows event mask of a set of events, and back; unknown bits are dropped.
uint32_t EventSetToMask(TComEvents Events);
TComEvents MaskToEventSet(uint32_t Mask);

// The serial layer's error: Code 1..23 selects a fixed message; WinCode is
// the system error code (errno) of the failed call, or -1.
class EComPort : public Exception {
public:
    static EComPort CreateWithCode(int Code, int WinCode);
    static EComPort CreatePlain(int Code);
    int WinCode;
    int Code;

private:
    EComPort(std::string Message, int ACode, int AWinCode)
        : Exception(std::move(Message)), WinCode(AWinCode), Code(ACode)
    {
    }
};

// The code SaveSettings raises whatever stopped it: "Failed to store settings".
constexpr int ComSettingsNotStored = 16;

// Message text of an error code; empty outside 1..23.
const char *ComErrorMessage(int Code);

// Whether E is a failure of the line itself (a transfer, a purge, a status
// query), as a device that has gone gives them, rather than of opening,
// settings or use.
bool IsLineFailure(const EComPort &E);

class TCustomComPort;

// Settings objects owned by a port. A setter that changes a value asks the
// owning port to re-apply its group; assignment copies the fields only.
class TComTimeouts : public TPersistent {
public:
    explicit TComTimeouts(TCustomComPort *Owner = nullptr) : FComPort(Owner) {}
    const char *ClassName() const override { return "TComTimeouts"; }
    void Assign(const TPersistent *Source) override;

    int32_t ReadInterval() const { return FReadInterval; }
    int32_t ReadTotalMultiplier() const { return FReadTotalMultiplier; }
    int32_t ReadTotalConstant() const { return FReadTotalConstant; }
    int32_t WriteTotalMultiplier() const { return FWriteTotalMultiplier; }
    int32_t WriteTotalConstant() const { return FWriteTotalConstant; }
    void SetReadInterval(int32_t Value) { Set(FReadInterval, Value); }
    void SetReadTotalMultiplier(int32_t Value) { Set(FReadTotalMultiplier, Value); }
    void SetReadTotalConstant(int32_t Value) { Set(FReadTotalConstant, Value); }
    void SetWriteTotalMultiplier(int32_t Value) { Set(FWriteTotalMultiplier, Value); }
    void SetWriteTotalConstant(int32_t Value) { Set(FWriteTotalConstant, Value); }

private:
    void Set(int32_t &Field, int32_t Value);
    TCustomComPort *FComPort;
    int32_t FReadInterval = -1;
    int32_t FReadTotalMultiplier = 0;
    int32_t FReadTotalConstant = 0;
    int32_t FWriteTotalMultiplier = 100;
    int32_t FWriteTotalConstant = 1000;
};

class TComFlowControl : public TPersistent {
public:
    explicit TComFlowControl(TCustomComPort *Owner = nullptr) : FComPort(Owner) {}
    const char *ClassName() const override { return "TComFlowControl"; }
    void Assign(const TPersistent *Source) override;

    bool OutCTSFlow() const { return FOutCTSFlow; }
    bool OutDSRFlow() const { return FOutDSRFlow; }
    TDTRFlowControl ControlDTR() const { return FControlDTR; }
    TRTSFlowControl ControlRTS() const { return FControlRTS; }
    bool XonXoffOut() const { return FXonXoffOut; }
    bool XonXoffIn() const { return FXonXoffIn; }
    bool DSRSensitivity() const { return FDSRSensitivity; }
    bool TxContinueOnXoff() const { return FTxContinueOnXoff; }
    char XonChar() const { return FXonChar; }
    char XoffChar() const { return FXoffChar; }
    void SetOutCTSFlow(bool Value) { Set(FOutCTSFlow, Value); }
    void SetOutDSRFlow(bool Value) { Set(FOutDSRFlow, Value); }
    void SetControlDTR(TDTRFlowControl Value) { Set(FControlDTR, Value); }
    void SetControlRTS(TRTSFlowControl Value) { Set(FControlRTS, Value); }
    void SetXonXoffOut(bool Value) { Set(FXonXoffOut, Value); }
    void SetXonXoffIn(bool Value) { Set(FXonXoffIn, Value); }
    void SetDSRSensitivity(bool Value) { Set(FDSRSensitivity, Value); }
    void SetTxContinueOnXoff(bool Value) { Set(FTxContinueOnXoff, Value); }
    void SetXonChar(char Value) { Set(FXonChar, Value); }
    void SetXoffChar(char Value) { Set(FXoffChar, Value); }

    // The flow-control mode derived from the flags above.
    TFlowControl FlowControl() const;
    // Sets the flags of a mode (fcCustom keeps them) and always re-applies.
    void SetFlowControl(TFlowControl Value);

private:
    template <typename T> void Set(T &Field, T Value);
    TCustomComPort *FComPort;
    bool FOutCTSFlow = false;
    bool FOutDSRFlow = false;
    TDTRFlowControl FControlDTR = dtrDisable;
    TRTSFlowControl FControlRTS = rtsDisable;
    bool FXonXoffOut = false;
    bool FXonXoffIn = false;
    bool FDSRSensitivity = false;
    bool FTxContinueOnXoff = false;
    char FXonChar = 17;
    char FXoffChar = 19;
};

class TComParity : public TPersistent {
public:
    explicit TComParity(TCustomComPort *Owner = nullptr) : FComPort(Owner) {}
    const char *ClassName() const override { return "TComParity"; }
    void Assign(const TPersistent *Source) override;

    TParityBits Bits() const { return FBits; }
    bool Check() const { return FCheck; }
    bool Replace() const { return FReplace; }
    char ReplaceChar() const { return FReplaceChar; }
    void SetBits(TParityBits Value) { Set(FBits, Value); }
    void SetCheck(bool Value) { Set(FCheck, Value); }
    void SetReplace(bool Value) { Set(FReplace, Value); }
    void SetReplaceChar(char Value) { Set(FReplaceChar, Value); }

private:
    template <typename T> void Set(T &Field, T Value);
    TCustomComPort *FComPort;
    TParityBits FBits = prNone;
    bool FCheck = false;
    bool FReplace = false;
    char FReplaceChar = 0;
};

class TComBuffer : public TPersistent {
public:
    explicit TComBuffer(TCustomComPort *Owner = nullptr) : FComPort(Owner) {}
    const char *ClassName() const override { return "TComBuffer"; }
    void Assign(const TPersistent *Source) override;

    int32_t InputSize() const { return FInputSize; }
    int32_t OutputSize() const { return FOutputSize; }
    // An odd positive size is lowered by one.
    void SetInputSize(int32_t Value) { Set(FInputSize, Value); }
    void SetOutputSize(int32_t Value) { Set(FOutputSize, Value); }

private:
    void Set(int32_t &Field, int32_t Value);
    TCustomComPort *FComPort;
    int32_t FInputSize = 1024;
    int32_t FOutputSize = 1024;
};

// One transfer of WriteBytes or ReadBytes, owned by the operation.
struct TComTransfer {
    uint8_t Kind = 0; // 0 write, 1 read
    bool Done = false;
    uint32_t Count = 0;
    int Error = 0;
};

// Waits for the events of an open port and hands them to it.
class TComThread : public TThread {
public:
    // Sets the device's event mask from the port's Events and starts waiting.
    explicit TComThread(TCustomComPort *Port);
    // Signals the stop and returns when the thread has ended.
    ~TComThread() override;

    TCustomComPort *OwnerPort;
    TEvent StopEvent;
    TComEvents ReceivedEvents;

protected:
    void Execute() override;

private:
    void SignalStop();
    void DeliverEvents();
};

using TRxCharEvent = std::function<void(TObject *Sender, int Count)>;
using TRxBufEvent = std::function<void(TObject *Sender, const void *Buffer, int Count)>;
using TComErrorEvent = std::function<void(TObject *Sender, TComErrors Errors)>;
using TComSignalEvent = std::function<void(TObject *Sender, bool OnOff)>;

class TCustomComPort : public TComponent {
public:
    explicit TCustomComPort(TComponent *AOwner);
    ~TCustomComPort() override;
    const char *ClassName() const override { return "TCustomComPort"; }

    void OpenPort();
    void ClosePort();
    void BeginSettingsUpdate() { ++FUpdateCount; }
    void EndSettingsUpdate();

    // Transfers and status of the open port.
    int32_t WriteBytes(const void *Buffer, int32_t Count);
    int32_t ReadBytes(void *Buffer, int32_t Count);
    int32_t QueuedInputCount();
    // Blocks until a byte is queued or Milliseconds have passed; true when
    // one is. Takes nothing from the queue and serves nothing meanwhile.
    bool WaitForInput(uint32_t Milliseconds);
    void PurgeQueues(bool Input, bool Output);
    void AbortTransfers();
    TModemSignals ModemSignals();
    TComErrors LineErrors();

    // Settings persistence (ini file path, or "ROOT\key\path" in the registry).
    void SaveSettings(TSettingsStore Store, const std::string &Target);
    void RestoreSettings(TSettingsStore Store, const std::string &Source);

    // The device-control block the line settings give.
    TDcb BuildDcb() const;

    bool Connected() const { return FConnected; }
    void SetConnected(bool Value);
    // Whether the open port's device has gone (the adapter was pulled, the
    // far end hung up): nothing more arrives and every write fails, while
    // what was queued stays readable. Closing the port lets it go.
    bool DeviceLost() const { return DeviceHandle && DeviceHandle->HungUp(); }
    TBaudRate BaudRate() const { return FBaudRate; }
    void SetBaudRate(TBaudRate Value);
    int32_t CustomBaudRate() const { return FCustomBaudRate; }
    void SetCustomBaudRate(int32_t Value);
    const std::string &Port() const { return FPort; }
    void SetPort(const std::string &Value);
    TStopBits StopBits() const { return FStopBits; }
    void SetStopBits(TStopBits Value);
    TDataBits DataBits() const { return FDataBits; }
    void SetDataBits(TDataBits Value);
    bool DiscardNull() const { return FDiscardNull; }
    void SetDiscardNull(bool Value);
    char EventChar() const { return FEventChar; }
    void SetEventChar(char Value);
    TComEvents Events() const { return FEvents; }
    void SetEvents(TComEvents Value) { FEvents = Value; }
    TSyncMethod SyncMethod() const { return FSyncMethod; }
    void SetSyncMethod(TSyncMethod Value);
    TSettingsGroups StoredGroups() const { return FStoredGroups; }
    TThread::TThreadPriority ThreadPriority() const { return FThreadPriority; }

    TComBuffer *Buffer() const { return FBuffer; }
    void SetBuffer(const TComBuffer *Value);
    TComParity *Parity() const { return FParity; }
    void SetParity(const TComParity *Value);
    TComTimeouts *Timeouts() const { return FTimeouts; }
    void SetTimeouts(const TComTimeouts *Value);
    TComFlowControl *FlowControl() const { return FFlowControl; }
    void SetFlowControl(const TComFlowControl *Value);

    // Whether an event thread runs (Events was not empty at the open).
    bool ThreadCreated() const { return FThreadCreated; }

    TRxCharEvent OnRxChar;
    TRxBufEvent OnRxBuf;
    TNotifyEvent OnTxEmpty;
    TNotifyEvent OnBreak;
    TNotifyEvent OnRing;
    TComSignalEvent OnCTSChange;
    TComSignalEvent OnDSRChange;
    TComSignalEvent OnRLSDChange;
    TComErrorEvent OnError;
    TNotifyEvent OnRxFlag;
    TNotifyEvent OnAfterOpen;
    TNotifyEvent OnAfterClose;
    TNotifyEvent OnBeforeOpen;
    TNotifyEvent OnBeforeClose;
    TNotifyEvent OnRx80Full;

    virtual void ApplyLineSettings();
    virtual void ApplyTimeoutSettings();
    virtual void ApplyQueueSizes();

protected:
    void Loaded() override;

    virtual void SaveToRegistry(TRegistry &Registry);
    virtual void SaveToIni(TIniFile &Ini);
    virtual void LoadFromRegistry(TRegistry &Registry);
    virtual void LoadFromIni(TIniFile &Ini);
    virtual void OpenDeviceHandle();
    virtual void CloseDeviceHandle();
    virtual void ApplyAllSettings();

    virtual void FireAfterClose();
    virtual void FireAfterOpen();
    virtual void FireBeforeClose();
    virtual void FireBeforeOpen();
    virtual void FireRxChar(int Count);
    virtual void FireRxBuf(const void *Buffer, int Count);
    virtual void FireTxEmpty();
    virtual void FireBreak();
    virtual void FireRing();
    virtual void FireRxFlag();
    virtual void FireCTSChange(bool OnOff);
    virtual void FireDSRChange(bool OnOff);
    virtual void FireError(TComErrors Errors);
    virtual void FireRLSDChange(bool OnOff);
    virtual void FireRx80Full();

    // The open device; null while closed.
    std::unique_ptr<TCommDevice> DeviceHandle;

private:
    friend class TComThread;
    friend struct TComSettingKeys;

    bool Applying() const;
    template <typename T> void ChangeLineSetting(T &Field, T Value);
    TCommDevice &Device(int Code) const;
    void BeforeOpenSteps();
    void AfterOpenSteps();
    void BeforeCloseSteps();
    void AfterCloseSteps();
    void NotifyLineSignals(bool Opening);
    void FireEvents(TComEvents Events);
    void HandleNotifyMessage(TMessage &Message);
    void HandleRxChar();
    void HandleTxEmpty() { FireTxEmpty(); }
    void HandleRxFlag() { FireRxFlag(); }
    void HandleRing() { FireRing(); }
    void HandleBreak() { FireBreak(); }
    void HandleCTSChange();
    void HandleDSRChange();
    void HandleRLSDChange();
    void HandleLineError();
    void HandleRx80Full() { FireRx80Full(); }

    TComTransfer *NewTransfer();
    void FreeTransfer(TComTransfer *Transfer);
    void StartWrite(const void *Buffer, int32_t Count, TComTransfer *Transfer);
    void StartRead(void *Buffer, int32_t Count, TComTransfer *Transfer);
    int32_t WaitForTransfer(TComTransfer *Transfer);

    TComThread *EventThread = nullptr;
    bool FThreadCreated = false;
    bool FClosing = false;
    std::unique_ptr<TUtilityWindow> NotifyWindow;
    int32_t FUpdateCount = 0;
    TThread::TThreadPriority FThreadPriority = TThread::tpNormal;
    bool FConnected = false;
    TBaudRate FBaudRate = br9600;
    int32_t FCustomBaudRate = 9600;
    std::string FPort = "COM1";
    TStopBits FStopBits = sbOneStopBit;
    TDataBits FDataBits = dbEight;
    bool FDiscardNull = false;
    char FEventChar = 0;
    TComEvents FEvents = AllComEvents;
    TComBuffer *FBuffer = nullptr;
    TComParity *FParity = nullptr;
    TComTimeouts *FTimeouts = nullptr;
    TComFlowControl *FFlowControl = nullptr;
    TSyncMethod FSyncMethod = smThreadSync;
    TSettingsGroups FStoredGroups{sgBasic};
};

class TComPort : public TCustomComPort {
public:
    using TCustomComPort::TCustomComPort;
    const char *ClassName() const override { return "TComPort"; }
};

// A settings object's setter: a changed value is stored and the owning
// port, if any, re-applies the group.
template <typename T>
void ChangeComSetting(TCustomComPort *Port, T &Field, T Value, void (TCustomComPort::*Apply)())
{
    if (Field == Value)
        return;
    Field = Value;
    if (Port)
        (Port->*Apply)();
}

template <typename T> void TComFlowControl::Set(T &Field, T Value)
{
    ChangeComSetting(FComPort, Field, Value, &TCustomComPort::ApplyLineSettings);
}

template <typename T> void TComParity::Set(T &Field, T Value)
{
    ChangeComSetting(FComPort, Field, Value, &TCustomComPort::ApplyLineSettings);
}

// The texts settings are stored as, and their parsers with the fallbacks
// for texts that match nothing (compared without regard to letter case).
std::string BaudRateText(TBaudRate Value);
TBaudRate ParseBaudRate(const std::string &Text);
std::string StopBitsText(TStopBits Value);
TStopBits ParseStopBits(const std::string &Text);
std::string DataBitsText(TDataBits Value);
TDataBits ParseDataBits(const std::string &Text);
std::string ParityText(TParityBits Value);
TParityBits ParseParity(const std::string &Text);
std::string FlowControlText(TFlowControl Value);
TFlowControl ParseFlowControl(const std::string &Text);
std::string DtrModeText(TDTRFlowControl Value);
TDTRFlowControl ParseDtrMode(const std::string &Text);
std::string RtsModeText(TRTSFlowControl Value);
TRTSFlowControl ParseRtsMode(const std::string &Text);
std::string YesNoText(bool Value);
bool ParseYesNo(const std::string &Text);
std::string CharSettingText(char Value);
char ParseCharSetting(const std::string &Text);
// Positions Registry on the key for Path ("ROOT\key\path") and Name.
void OpenSettingsKey(TRegistry &Registry, const std::string &Path, const std::string &Name);
