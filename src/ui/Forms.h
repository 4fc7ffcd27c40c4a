#pragma once
// The application object: title, exception handling, message processing.

#include "Classes.h"

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
    // shown. Call inside a catch block.
    void HandleException(TObject *Sender);
    // Shows E's message, with a full stop added, under the application title.
    void ShowException(const std::exception &E);
    // Serves pending events and cross-thread calls once.
    void ProcessMessages();
};

extern TApplication *Application;
