// The port's event thread, the delivery of events to their handlers, and the
// steps around opening and closing.
#include "CPort.h"

#include "Forms.h"
#include "Messages.h"

namespace {

struct EventBit {
    TComEvent Event;
    uint32_t Mask;
};
// Set order and Windows mask bit of each event.
const EventBit EventBits[] = {
    {evRxChar, EV_RXCHAR}, {evTxEmpty, EV_TXEMPTY},   {evRxFlag, EV_RXFLAG}, {evRing, EV_RING},
    {evBreak, EV_BREAK},   {evCTS, EV_CTS},           {evDSR, EV_DSR},       {evError, EV_ERR},
    {evRLSD, EV_RLSD},     {evRx80Full, EV_RX80FULL},
};
// Line errors go first, so they are reported before the characters received with them.
const TComEvent DeliveryOrder[] = {evError, evRxChar, evTxEmpty, evBreak, evRing,
                                   evCTS,   evDSR,    evRxFlag,  evRLSD,  evRx80Full};

uint32_t MaskBit(TComEvent Event)
{
    for (const EventBit &b : EventBits)
        if (b.Event == Event)
            return b.Mask;
    return 0;
}

constexpr unsigned CM_COMEVENT = WM_USER + 1;

} // namespace

uint32_t EventSetToMask(TComEvents Events)
{
    uint32_t mask = 0;
    for (const EventBit &b : EventBits)
        if (Events.Contains(b.Event))
            mask |= b.Mask;
    return mask;
}

TComEvents MaskToEventSet(uint32_t Mask)
{
    TComEvents events;
    for (const EventBit &b : EventBits)
        if (Mask & b.Mask)
            events.Include(b.Event);
    return events;
}

// Thread --------------------------------------------------------------------

TComThread::TComThread(TCustomComPort *Port) : TThread(true), OwnerPort(Port)
{
    Priority = Port->ThreadPriority();
    Port->DeviceHandle->SetCommMask(EventSetToMask(Port->Events()));
    Start();
}

TComThread::~TComThread()
{
    SignalStop();
    WaitFor();
}

void TComThread::SignalStop()
{
    StopEvent.SetEvent();
    std::this_thread::yield();
}

void TComThread::Execute()
{
    TCommDevice &device = *OwnerPort->DeviceHandle;
    for (;;) {
        uint32_t mask = 0;
        const TCommDevice::TWaitResult result = device.WaitCommEvent(mask, StopEvent);
        if (result == TCommDevice::wrFailed) {
            // The device is gone: without a device nothing more can be
            // reported, and asking again would only spin. What it had
            // queued stays readable.
            device.SetCommMask(0);
            return;
        }
        if (result == TCommDevice::wrStopped)
            break;
        ReceivedEvents = MaskToEventSet(mask);
        DeliverEvents();
    }
    device.SetCommMask(0);
    device.Purge(PURGE_TXCLEAR | PURGE_RXCLEAR);
}

void TComThread::DeliverEvents()
{
    TCustomComPort *port = OwnerPort;
    const TComEvents events = ReceivedEvents;
    switch (port->SyncMethod()) {
    case smThreadSync: Synchronize([port, events] { port->FireEvents(events); }); break;
    case smWindowSync:
        for (TComEvent e : DeliveryOrder)
            if (events.Contains(e))
                port->NotifyWindow->SendMessage(CM_COMEVENT, MaskBit(e), 0);
        break;
    case smNone: port->FireEvents(events); break;
    }
}

// Delivery ------------------------------------------------------------------

void TCustomComPort::FireEvents(TComEvents Events)
{
    for (TComEvent e : DeliveryOrder) {
        if (!Events.Contains(e))
            continue;
        switch (e) {
        case evError: HandleLineError(); break;
        case evRxChar: HandleRxChar(); break;
        case evTxEmpty: HandleTxEmpty(); break;
        case evBreak: HandleBreak(); break;
        case evRing: HandleRing(); break;
        case evCTS: HandleCTSChange(); break;
        case evDSR: HandleDSRChange(); break;
        case evRxFlag: HandleRxFlag(); break;
        case evRLSD: HandleRLSDChange(); break;
        case evRx80Full: HandleRx80Full(); break;
        }
    }
}

void TCustomComPort::HandleNotifyMessage(TMessage &Message)
{
    if (Message.Msg != CM_COMEVENT) {
        Message.Result = DefWindowProc(Message);
        return;
    }
    Guarded(this, [&] {
        if (InSendMessage())
            ReplyMessage(0);
        if (!FConnected)
            return;
        switch (Message.WParam) {
        case EV_RXCHAR: HandleRxChar(); break;
        case EV_RXFLAG: HandleRxFlag(); break;
        case EV_TXEMPTY: HandleTxEmpty(); break;
        case EV_CTS: HandleCTSChange(); break;
        case EV_DSR: HandleDSRChange(); break;
        case EV_RLSD: HandleRLSDChange(); break;
        case EV_BREAK: HandleBreak(); break;
        case EV_ERR: HandleLineError(); break;
        case EV_RING: HandleRing(); break;
        case EV_RX80FULL: HandleRx80Full(); break;
        default: break;
        }
    });
}

void TCustomComPort::HandleRxChar()
{
    const int32_t count = QueuedInputCount();
    if (count > 0)
        FireRxChar(count);
}

void TCustomComPort::HandleLineError()
{
    const TComErrors errors = LineErrors();
    if (!errors.Empty())
        FireError(errors);
}

void TCustomComPort::HandleCTSChange()
{
    FireCTSChange(ModemSignals().Contains(msCTS));
}

void TCustomComPort::HandleDSRChange()
{
    FireDSRChange(ModemSignals().Contains(msDSR));
}

void TCustomComPort::HandleRLSDChange()
{
    FireRLSDChange(ModemSignals().Contains(msRLSD));
}

// Open and close steps ----------------------------------------------------------

void TCustomComPort::BeforeOpenSteps()
{
    FireBeforeOpen();
}

void TCustomComPort::AfterOpenSteps()
{
    FireAfterOpen();
    NotifyLineSignals(true);
}

void TCustomComPort::BeforeCloseSteps()
{
    NotifyLineSignals(false);
    FireBeforeClose();
}

void TCustomComPort::AfterCloseSteps()
{
    FireAfterClose();
}

void TCustomComPort::NotifyLineSignals(bool Opening)
{
    if (Opening) {
        HandleCTSChange();
        HandleDSRChange();
        HandleRLSDChange();
    } else {
        FireCTSChange(false);
        FireDSRChange(false);
        FireRLSDChange(false);
    }
}

// Event firing ------------------------------------------------------------------

void TCustomComPort::FireAfterClose()
{
    if (OnAfterClose)
        OnAfterClose(this);
}
void TCustomComPort::FireAfterOpen()
{
    if (OnAfterOpen)
        OnAfterOpen(this);
}
void TCustomComPort::FireBeforeClose()
{
    if (OnBeforeClose)
        OnBeforeClose(this);
}
void TCustomComPort::FireBeforeOpen()
{
    if (OnBeforeOpen)
        OnBeforeOpen(this);
}
void TCustomComPort::FireRxChar(int Count)
{
    if (OnRxChar)
        OnRxChar(this, Count);
}
void TCustomComPort::FireRxBuf(const void *Buffer, int Count)
{
    if (OnRxBuf)
        OnRxBuf(this, Buffer, Count);
}
void TCustomComPort::FireTxEmpty()
{
    if (OnTxEmpty)
        OnTxEmpty(this);
}
void TCustomComPort::FireBreak()
{
    if (OnBreak)
        OnBreak(this);
}
void TCustomComPort::FireRing()
{
    if (OnRing)
        OnRing(this);
}
void TCustomComPort::FireRxFlag()
{
    if (OnRxFlag)
        OnRxFlag(this);
}
void TCustomComPort::FireCTSChange(bool OnOff)
{
    if (OnCTSChange)
        OnCTSChange(this, OnOff);
}
void TCustomComPort::FireDSRChange(bool OnOff)
{
    if (OnDSRChange)
        OnDSRChange(this, OnOff);
}
void TCustomComPort::FireError(TComErrors Errors)
{
    if (OnError)
        OnError(this, Errors);
}
void TCustomComPort::FireRLSDChange(bool OnOff)
{
    if (OnRLSDChange)
        OnRLSDChange(this, OnOff);
}
void TCustomComPort::FireRx80Full()
{
    if (OnRx80Full)
        OnRx80Full(this);
}
