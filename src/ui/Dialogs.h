#pragma once
// Message boxes, file and printer dialogs and the shell's start of programs
// behind one replaceable interface: a real user gets Qt's dialogs and the
// desktop's programs, a test installs its own answers and sees every start.

#include "Classes.h"

#include <string>
#include <vector>

class QPrinter;
class TOpenDialog;
class TSaveDialog;
class TPrinterSetupDialog;
class TFindDialog;
class QWidget;

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
    // Asks for an existing file with the dialog's title, filter, initial
    // folder and default extension. On confirmation the dialog's FileName
    // holds the full path and FilterIndex the filter in use; false when
    // cancelled, leaving both as they were.
    virtual bool OpenFile(TOpenDialog &Dialog);
    // The same for a file to write, which need not exist.
    virtual bool SaveFile(TSaveDialog &Dialog);
    // Lets the user choose and set up the printer (a real user can choose a
    // PDF file); false when cancelled.
    virtual bool PrinterSetup(TPrinterSetupDialog &Dialog, QPrinter &Printer);
    // Shows the modeless find dialog at its Left and Top (screen
    // coordinates) with its FindText, and returns at once; each press of
    // its find-next button stores the typed text and options in Dialog and
    // raises its OnFind.
    virtual void ShowFind(TFindDialog &Dialog);
    // The shell's open of a program, document or web address (System.h).
    virtual bool ShellExecute(const std::string &Operation, const std::string &File,
                              const std::string &Parameters, const std::string &Directory,
                              int ShowCmd);
};

// The dialogs in use; never null.
TDialogs &Dialogs();
// Installs Replacement (not owned) and returns the previous one; null restores Qt's.
TDialogs *SetDialogs(TDialogs *Replacement);

// The class library's filter text ("Text|*.a;*.b|All|*.*") as Qt's name
// filters ("Text (*.a *.b)", "All (*.*)"); a text that already ends with
// its patterns in parentheses is kept as it is.
std::vector<std::string> FileDialogFilters(const std::string &Filter);

// The file-open dialog component: its settings, and the chosen file after
// a confirmed Execute.
class TOpenDialog : public TComponent {
public:
    explicit TOpenDialog(TComponent *AOwner) : TComponent(AOwner) {}
    const char *ClassName() const override { return "TOpenDialog"; }

    std::string DefaultExt;
    std::string FileName;
    std::string Filter;
    int FilterIndex = 1; // 1-based, as in the filter text
    std::string InitialDir;
    std::string Title;
    // The user switched to another file type while the dialog is open.
    TNotifyEvent OnTypeChange;

    // Runs the dialog; true when a file was chosen.
    virtual bool Execute() { return Dialogs().OpenFile(*this); }
};

class TSaveDialog : public TOpenDialog {
public:
    explicit TSaveDialog(TComponent *AOwner) : TOpenDialog(AOwner) {}
    const char *ClassName() const override { return "TSaveDialog"; }
    bool Execute() override { return Dialogs().SaveFile(*this); }
};

// The printer set-up dialog component: sets up the program's Printer().
class TPrinterSetupDialog : public TComponent {
public:
    explicit TPrinterSetupDialog(TComponent *AOwner) : TComponent(AOwner) {}
    const char *ClassName() const override { return "TPrinterSetupDialog"; }
    bool Execute();
};

// The find dialog component (modeless): the text to find, its options, and
// OnFind for every find-next request.
using TFindOptions = unsigned;
enum : unsigned { frDown = 1, frWholeWord = 2, frMatchCase = 4 };

class TFindDialog : public TComponent {
public:
    explicit TFindDialog(TComponent *AOwner) : TComponent(AOwner) {}
    ~TFindDialog() override;
    const char *ClassName() const override { return "TFindDialog"; }

    std::string FindText;
    TFindOptions Options = frDown;
    int Left = -1;
    int Top = -1;
    TNotifyEvent OnFind;

    void SetPosition(int X, int Y)
    {
        Left = X;
        Top = Y;
    }
    // Shows the dialog; true, as the dialog stays open.
    bool Execute();
    void CloseDialog();

    // The dialog's window while it exists (made by the dialogs in use,
    // freed with the component).
    QWidget *Window() const { return FWindow; }
    void SetWindow(QWidget *Value);

private:
    QWidget *FWindow = nullptr;
};

// The program's printer, as the class library keeps one for all printing;
// made on first use, freed with the application.
QPrinter &Printer();
