#include "Dialogs.h"

#include "Forms.h"
#include "System.h"
#include "Text.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QStringList>

#include <cstdio>

namespace {
TDialogs DefaultDialogs;
TDialogs *Current = &DefaultDialogs;
QPrinter *ThePrinter = nullptr;

bool HasWidgets()
{
    return qobject_cast<QApplication *>(QCoreApplication::instance()) != nullptr;
}

// The extension Qt appends to a typed name without one: "*.dts" and ".dts"
// as the resources write it mean "dts".
QString Suffix(const std::string &DefaultExt)
{
    const std::size_t dot = DefaultExt.find_last_of('.');
    const std::string ext = dot == std::string::npos ? DefaultExt : DefaultExt.substr(dot + 1);
    return ext.find_first_of("*?") == std::string::npos ? FromAnsi(ext) : QString();
}

bool RunFileDialog(TOpenDialog &Dialog, QFileDialog::AcceptMode Mode)
{
    if (!HasWidgets())
        return false;
    // A folder that does not exist opens the current one, as the class
    // library's dialogs do; Qt would take its last part for a file name.
    const QString initialDir = FromFileName(Dialog.InitialDir);
    QFileDialog box(nullptr, FromAnsi(Dialog.Title),
                    !initialDir.isEmpty() && QDir(initialDir).exists() ? initialDir : QString());
    box.setAcceptMode(Mode);
    box.setFileMode(Mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                    : QFileDialog::AnyFile);
    box.setDefaultSuffix(Suffix(Dialog.DefaultExt));
    QStringList filters;
    for (const std::string &f : FileDialogFilters(Dialog.Filter))
        filters << FromAnsi(f);
    if (!filters.isEmpty()) {
        box.setNameFilters(filters);
        if (Dialog.FilterIndex >= 1 && Dialog.FilterIndex <= filters.size())
            box.selectNameFilter(filters[Dialog.FilterIndex - 1]);
    }
    if (!Dialog.FileName.empty())
        box.selectFile(FromFileName(Dialog.FileName));
    QObject::connect(&box, &QFileDialog::filterSelected, &box, [&Dialog] {
        Guarded(&Dialog, [&Dialog] {
            if (Dialog.OnTypeChange)
                Dialog.OnTypeChange(&Dialog);
        });
    });
    if (box.exec() != QDialog::Accepted || box.selectedFiles().isEmpty())
        return false;
    Dialog.FileName = ToFileName(box.selectedFiles().first());
    Dialog.FilterIndex = int(filters.indexOf(box.selectedNameFilter())) + 1;
    if (Dialog.FilterIndex < 1)
        Dialog.FilterIndex = 1;
    return true;
}

} // namespace

int TDialogs::MessageBox(const std::string &Text, const std::string &Caption, int Flags)
{
    if (!HasWidgets()) {
        std::fprintf(stderr, "%s: %s\n", Caption.c_str(), Text.c_str());
        return (Flags & 0x0F) == MB_YESNO ? IDNO : IDOK;
    }
    QMessageBox box;
    box.setWindowTitle(FromAnsi(Caption));
    box.setText(FromAnsi(Text));
    switch (Flags & 0xF0) {
    case MB_ICONSTOP: box.setIcon(QMessageBox::Critical); break;
    case MB_ICONQUESTION: box.setIcon(QMessageBox::Question); break;
    case MB_ICONWARNING: box.setIcon(QMessageBox::Warning); break;
    case MB_ICONINFORMATION: box.setIcon(QMessageBox::Information); break;
    default: break;
    }
    switch (Flags & 0x0F) {
    case MB_YESNO:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        return box.exec() == QMessageBox::Yes ? IDYES : IDNO;
    case MB_OKCANCEL:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        return box.exec() == QMessageBox::Ok ? IDOK : IDCANCEL;
    default:
        box.setStandardButtons(QMessageBox::Ok);
        box.exec();
        return IDOK;
    }
}

bool TDialogs::OpenFile(TOpenDialog &Dialog)
{
    return RunFileDialog(Dialog, QFileDialog::AcceptOpen);
}

bool TDialogs::SaveFile(TSaveDialog &Dialog)
{
    return RunFileDialog(Dialog, QFileDialog::AcceptSave);
}

bool TDialogs::PrinterSetup(TPrinterSetupDialog &, QPrinter &Printer)
{
    if (!HasWidgets())
        return false;
    QPrintDialog box(&Printer);
    return box.exec() == QDialog::Accepted;
}

void TDialogs::ShowFind(TFindDialog &Dialog)
{
    if (!HasWidgets())
        return;
    QWidget *window = Dialog.Window();
    if (!window) {
        auto *box = new QDialog(nullptr, Qt::Dialog);
        box->setWindowTitle(QStringLiteral("Find"));
        auto *text = new QLineEdit(box);
        text->setObjectName(QStringLiteral("FindText"));
        auto *whole = new QCheckBox(QStringLiteral("Match &whole word only"), box);
        auto *matchCase = new QCheckBox(QStringLiteral("Match &case"), box);
        auto *next = new QPushButton(QStringLiteral("&Find Next"), box);
        auto *cancel = new QPushButton(QStringLiteral("Cancel"), box);
        next->setDefault(true);
        // With its field as buddy the label takes "&n" as Alt+N, not as text.
        auto *label = new QLabel(QStringLiteral("Fi&nd what:"), box);
        label->setBuddy(text);
        auto *row = new QHBoxLayout;
        row->addWidget(label);
        row->addWidget(text);
        row->addWidget(next);
        auto *lower = new QHBoxLayout;
        lower->addWidget(whole);
        lower->addWidget(matchCase);
        lower->addStretch();
        lower->addWidget(cancel);
        auto *all = new QVBoxLayout(box);
        all->addLayout(row);
        all->addLayout(lower);
        QObject::connect(cancel, &QPushButton::clicked, box, &QDialog::hide);
        QObject::connect(next, &QPushButton::clicked, box, [&Dialog, text, whole, matchCase] {
            Dialog.FindText = ToAnsi(text->text());
            TFindOptions options = frDown;
            if (whole->isChecked())
                options |= frWholeWord;
            if (matchCase->isChecked())
                options |= frMatchCase;
            Dialog.Options = options;
            Guarded(&Dialog, [&Dialog] {
                if (Dialog.OnFind)
                    Dialog.OnFind(&Dialog);
            });
        });
        Dialog.SetWindow(box);
        window = box;
    }
    if (auto *text = window->findChild<QLineEdit *>(QStringLiteral("FindText")))
        text->setText(FromAnsi(Dialog.FindText));
    if (Dialog.Left >= 0 && Dialog.Top >= 0)
        window->move(Dialog.Left, Dialog.Top);
    window->show();
    window->raise();
    window->activateWindow();
}

TFindDialog::~TFindDialog()
{
    delete FWindow;
}

bool TFindDialog::Execute()
{
    Dialogs().ShowFind(*this);
    return true;
}

void TFindDialog::CloseDialog()
{
    if (FWindow)
        FWindow->hide();
}

void TFindDialog::SetWindow(QWidget *Value)
{
    if (Value != FWindow)
        delete FWindow;
    FWindow = Value;
}

bool TDialogs::ShellExecute(const std::string &Operation, const std::string &File,
                            const std::string &Parameters, const std::string &Directory,
                            int ShowCmd)
{
    return ::ShellExecute(Operation, File, Parameters, Directory, ShowCmd);
}

TDialogs &Dialogs()
{
    return *Current;
}

TDialogs *SetDialogs(TDialogs *Replacement)
{
    TDialogs *previous = Current == &DefaultDialogs ? nullptr : Current;
    Current = Replacement ? Replacement : &DefaultDialogs;
    return previous;
}

std::vector<std::string> FileDialogFilters(const std::string &Filter)
{
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= Filter.size() && !Filter.empty()) {
        const std::size_t bar = Filter.find('|', start);
        parts.push_back(Filter.substr(start, bar - start));
        if (bar == std::string::npos)
            break;
        start = bar + 1;
    }
    std::vector<std::string> out;
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
        std::string patterns = parts[i + 1];
        for (char &c : patterns)
            if (c == ';')
                c = ' ';
        const std::string tail = "(" + patterns + ")";
        const std::string &text = parts[i];
        const bool shown = text.size() >= tail.size() &&
                           text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
        if (shown)
            out.push_back(text);
        else
            out.push_back(text + " " + tail);
    }
    return out;
}

bool TPrinterSetupDialog::Execute()
{
    return Dialogs().PrinterSetup(*this, Printer());
}

QPrinter &Printer()
{
    if (!ThePrinter) {
        ThePrinter = new QPrinter(QPrinter::HighResolution);
        // A printer that outlived the application would tear down its
        // print system after Qt's.
        qAddPostRoutine([] {
            delete ThePrinter;
            ThePrinter = nullptr;
        });
    }
    return *ThePrinter;
}
