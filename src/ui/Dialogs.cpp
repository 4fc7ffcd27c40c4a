#include "Dialogs.h"

#include "Text.h"

#include <QApplication>
#include <QMessageBox>

#include <cstdio>

namespace {
TDialogs DefaultDialogs;
TDialogs *Current = &DefaultDialogs;
} // namespace

int TDialogs::MessageBox(const std::string &Text, const std::string &Caption, int Flags)
{
    if (!qobject_cast<QApplication *>(QCoreApplication::instance())) {
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
