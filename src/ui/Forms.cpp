#include "Forms.h"

#include "Dialogs.h"
#include "Threads.h"

#include <QCoreApplication>

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
