#pragma once
// For a window that runs with nobody in front of it: message boxes are
// answered at once (Yes or OK), file dialogs cancelled, programs not
// started, and what escapes a handler is dropped, as the console does.
// Installed for the object's lifetime.

#include "Dialogs.h"
#include "Forms.h"

class TQuietDialogs : public TDialogs {
public:
    TQuietDialogs() : FSaved(SetDialogs(this))
    {
        Application->OnException = [](TObject *, const std::exception &) {};
    }
    ~TQuietDialogs() override
    {
        SetDialogs(FSaved);
        Application->OnException = nullptr;
    }
    TQuietDialogs(const TQuietDialogs &) = delete;
    TQuietDialogs &operator=(const TQuietDialogs &) = delete;

    int MessageBox(const std::string &, const std::string &, int Flags) override
    {
        return (Flags & MB_YESNO) ? IDYES : IDOK;
    }
    bool OpenFile(TOpenDialog &) override { return false; }
    bool SaveFile(TSaveDialog &) override { return false; }
    bool ShellExecute(const std::string &, const std::string &, const std::string &,
                      const std::string &, int) override
    {
        return true;
    }

private:
    TDialogs *FSaved;
};
