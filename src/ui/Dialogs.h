#pragma once
// Message boxes and the other modal dialogs behind one replaceable interface:
// a real user gets Qt's dialogs, a test installs its own answers.

#include <string>

// Message box flags and answers, with the class library's values.
enum : int {
    MB_OK = 0x00,
    MB_OKCANCEL = 0x01,
    MB_YESNO = 0x04,
    MB_ICONSTOP = 0x10,
    MB_ICONERROR = 0x10,
    MB_ICONQUESTION = 0x20,
    MB_ICONWARNING = 0x30,
    MB_ICONINFORMATION = 0x40,
};
enum : int { IDOK = 1, IDCANCEL = 2, IDYES = 6, IDNO = 7 };

class TDialogs {
public:
    virtual ~TDialogs() = default;
    // Shows Text under Caption with the buttons and icon of Flags and returns
    // the answer (IDOK, IDYES ...). Texts are the system's 8-bit texts.
    virtual int MessageBox(const std::string &Text, const std::string &Caption, int Flags);
};

// The dialogs in use; never null.
TDialogs &Dialogs();
// Installs Replacement (not owned) and returns the previous one; null restores Qt's.
TDialogs *SetDialogs(TDialogs *Replacement);
