// Transfers, queue and line status of an open port, and the error class.
#include "CPort.h"

#include <cerrno>
#include <cstdio>

namespace {
const char *const ErrorMessages[] = {
    "",
    "Unable to open com port",
    "WriteFile function failed",
    "ReadFile function failed",
    "Invalid Async parameter",
    "PurgeComm function failed",
    "Unable to get async status",
    "SetCommState function failed",
    "SetCommTimeouts failed",
    "SetupComm function failed",
    "ClearCommError function failed",
    "GetCommModemStatus function failed",
    "EscapeCommFunction function failed",
    "TransmitCommChar function failed",
    "Cannot set property while connected",
    "EnumPorts function failed",
    "Failed to store settings",
    "Failed to load settings",
    "Link (un)registration failed",
    "Cannot change led state if ComPort is selected",
    "Cannot wait for event if event thread is created",
    "WaitForEvent method failed",
    "A component is linked to OnRxBuf event",
    "Registry error",
};
} // namespace

const char *ComErrorMessage(int Code)
{
    return Code >= 1 && Code <= 23 ? ErrorMessages[Code] : "";
}

bool IsLineFailure(const EComPort &E)
{
    switch (E.Code) {
    case 2:  // WriteFile
    case 3:  // ReadFile
    case 5:  // PurgeComm
    case 6:  // async status
    case 10: // ClearCommError
    case 11: // GetCommModemStatus
        return true;
    default: return false;
    }
}

EComPort EComPort::CreateWithCode(int Code, int WinCode)
{
    char suffix[48];
    std::snprintf(suffix, sizeof suffix, " (win error code: %d)", WinCode);
    return EComPort(std::string(ComErrorMessage(Code)) + suffix, Code, WinCode);
}

EComPort EComPort::CreatePlain(int Code)
{
    return EComPort(ComErrorMessage(Code), Code, -1);
}

TComTransfer *TCustomComPort::NewTransfer()
{
    return new TComTransfer();
}

void TCustomComPort::FreeTransfer(TComTransfer *Transfer)
{
    delete Transfer;
}

// The device completes a transfer before it returns, so starting it is
// where the work and any failure happen; the wait collects the result.
void TCustomComPort::StartWrite(const void *Buffer, int32_t Count, TComTransfer *Transfer)
{
    if (!Transfer)
        throw EComPort::CreatePlain(4);
    Transfer->Kind = 0;
    if (Count < 0)
        throw EComPort::CreateWithCode(2, EINVAL);
    TCommDevice &device = Device(2);
    uint32_t written = 0;
    if (!device.Write(Buffer, uint32_t(Count), written))
        throw EComPort::CreateWithCode(2, errno);
    Transfer->Count = written;
    Transfer->Done = true;
}

void TCustomComPort::StartRead(void *Buffer, int32_t Count, TComTransfer *Transfer)
{
    if (!Transfer)
        throw EComPort::CreatePlain(4);
    Transfer->Kind = 1;
    if (Count < 0)
        throw EComPort::CreateWithCode(3, EINVAL);
    TCommDevice &device = Device(3);
    uint32_t read = 0;
    if (!device.Read(Buffer, uint32_t(Count), read))
        throw EComPort::CreateWithCode(3, errno);
    Transfer->Count = read;
    Transfer->Done = true;
}

int32_t TCustomComPort::WaitForTransfer(TComTransfer *Transfer)
{
    if (!Transfer)
        throw EComPort::CreatePlain(4);
    if (!Transfer->Done)
        throw EComPort::CreateWithCode(Transfer->Kind == 0 ? 2 : 3,
                                       Transfer->Error ? Transfer->Error : EIO);
    return int32_t(Transfer->Count);
}

int32_t TCustomComPort::WriteBytes(const void *Buffer, int32_t Count)
{
    TComTransfer *transfer = NewTransfer();
    try {
        StartWrite(Buffer, Count, transfer);
        const int32_t written = WaitForTransfer(transfer);
        FreeTransfer(transfer);
        return written;
    } catch (...) {
        FreeTransfer(transfer);
        throw;
    }
}

int32_t TCustomComPort::ReadBytes(void *Buffer, int32_t Count)
{
    TComTransfer *transfer = NewTransfer();
    try {
        StartRead(Buffer, Count, transfer);
        const int32_t read = WaitForTransfer(transfer);
        FreeTransfer(transfer);
        return read;
    } catch (...) {
        FreeTransfer(transfer);
        throw;
    }
}

int32_t TCustomComPort::QueuedInputCount()
{
    uint32_t errors = 0;
    TComStat stat;
    if (!Device(10).ClearCommError(errors, stat))
        throw EComPort::CreateWithCode(10, errno);
    return int32_t(stat.cbInQue);
}

bool TCustomComPort::WaitForInput(uint32_t Milliseconds)
{
    return Device(10).WaitForInput(Milliseconds);
}

void TCustomComPort::PurgeQueues(bool Input, bool Output)
{
    const uint32_t flags = (Input ? PURGE_RXCLEAR : 0) | (Output ? PURGE_TXCLEAR : 0);
    if (!Device(5).Purge(flags))
        throw EComPort::CreateWithCode(5, errno);
}

void TCustomComPort::AbortTransfers()
{
    if (!Device(5).Purge(PURGE_TXABORT | PURGE_RXABORT))
        throw EComPort::CreateWithCode(5, errno);
}

TModemSignals TCustomComPort::ModemSignals()
{
    uint32_t status = 0;
    if (!Device(11).GetCommModemStatus(status))
        throw EComPort::CreateWithCode(11, errno);
    TModemSignals signals;
    if (status & MS_CTS_ON)
        signals.Include(msCTS);
    if (status & MS_DSR_ON)
        signals.Include(msDSR);
    if (status & MS_RING_ON)
        signals.Include(msRing);
    if (status & MS_RLSD_ON)
        signals.Include(msRLSD);
    return signals;
}

TComErrors TCustomComPort::LineErrors()
{
    uint32_t flags = 0;
    TComStat stat;
    if (!Device(10).ClearCommError(flags, stat))
        throw EComPort::CreateWithCode(10, errno);
    TComErrors errors;
    if (flags & CE_FRAME)
        errors.Include(leFrame);
    if ((flags & CE_RXPARITY) && FParity->Check())
        errors.Include(leRxParity);
    if (flags & CE_OVERRUN)
        errors.Include(leOverrun);
    if (flags & CE_BREAK)
        errors.Include(leBreak);
    if (flags & CE_IOE)
        errors.Include(leIOE);
    if (flags & CE_MODE)
        errors.Include(leMode);
    if (flags & CE_RXOVER)
        errors.Include(leRxOver);
    if (flags & CE_TXFULL)
        errors.Include(leTxFull);
    return errors;
}
