#include "Dialogs.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

class TScripted : public TDialogs {
public:
    std::string Answer;
    std::string SeenTitle, SeenFilter, SeenDir;
    bool OpenFile(TOpenDialog &Dialog) override
    {
        SeenTitle = Dialog.Title;
        SeenFilter = Dialog.Filter;
        SeenDir = Dialog.InitialDir;
        if (Answer.empty())
            return false;
        Dialog.FileName = Answer;
        return true;
    }
    int Setups = 0;
    bool PrinterSetup(TPrinterSetupDialog &, QPrinter &Printer) override
    {
        ++Setups;
        Printer.setOutputFileName("/tmp/x.pdf");
        return true;
    }
};

} // namespace

TEST(Dialogs, FiltersBecomeQtNameFilters)
{
    EXPECT_EQ(FileDialogFilters("Data fajlovi (*.dts)|*.dts|All files|*.*"),
              std::vector<std::string>({"Data fajlovi (*.dts)", "All files (*.*)"}));
    EXPECT_EQ(FileDialogFilters("Slike|*.bmp;*.png"),
              std::vector<std::string>({"Slike (*.bmp *.png)"}));
    EXPECT_TRUE(FileDialogFilters("").empty());
    EXPECT_TRUE(FileDialogFilters("odd").empty()); // a text without patterns
}

TEST(Dialogs, ComponentsAskTheDialogsInUse)
{
    TScripted scripted;
    TDialogs *before = SetDialogs(&scripted);
    TOpenDialog open(nullptr);
    open.Title = "Ucitavanje datoteke";
    open.Filter = "Data fajlovi (*.dts)|*.dts";
    open.FileName = "old.dts";
    EXPECT_FALSE(open.Execute());
    EXPECT_EQ(open.FileName, "old.dts");
    EXPECT_EQ(scripted.SeenTitle, "Ucitavanje datoteke");
    scripted.Answer = "/data/new.dts";
    EXPECT_TRUE(open.Execute());
    EXPECT_EQ(open.FileName, "/data/new.dts");

    TPrinterSetupDialog setup(nullptr);
    EXPECT_TRUE(setup.Execute());
    EXPECT_EQ(scripted.Setups, 1);
    EXPECT_EQ(Printer().outputFileName(), "/tmp/x.pdf");
    EXPECT_EQ(&Printer(), &Printer()); // one printer for the program

    EXPECT_EQ(SetDialogs(before), &scripted);
}

// A missing initial folder must not turn into a proposed file name: the user
// would save an image called after the folder.
TEST(Dialogs, AMissingInitialFolderOpensTheCurrentOne)
{
    TSaveDialog dialog(nullptr);
    dialog.InitialDir = "/nonexistent-orva/bin_fajlovi";
    QString proposed, folder;
    QTimer::singleShot(0, [&] {
        if (auto *box = qobject_cast<QFileDialog *>(QApplication::activeModalWidget())) {
            proposed = box->selectedFiles().value(0);
            folder = box->directory().absolutePath();
            box->reject();
        }
    });
    EXPECT_FALSE(dialog.Execute());
    EXPECT_FALSE(proposed.endsWith("bin_fajlovi"));
    EXPECT_EQ(folder, QDir::currentPath());
}

// Folders and files named in letters the system's 8-bit text lacks: the
// dialog opens in the folder and answers the file under its own name.
TEST(Dialogs, NamesBeyondTheSystemsLettersPassThroughTheFileDialog)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string folder = dir.path().toStdString() + "/Mer\xC3\xA9nja \xC4\x8C";
    const std::string file = folder + "/\xC4\x8C"
                                      "a\xC4\x8D"
                                      "ak.dts";
    ASSERT_TRUE(QDir().mkpath(QString::fromUtf8(folder.c_str())));
    QFile made(QString::fromUtf8(file.c_str()));
    ASSERT_TRUE(made.open(QIODevice::WriteOnly));
    made.close();

    TOpenDialog dialog(nullptr);
    dialog.InitialDir = folder;
    QString opened;
    QTimer::singleShot(0, [&] {
        if (auto *box = qobject_cast<QFileDialog *>(QApplication::activeModalWidget())) {
            opened = box->directory().absolutePath();
            box->selectFile(QString::fromUtf8(file.c_str()));
            QMetaObject::invokeMethod(box, "accept");
            if (box->isVisible())
                box->reject();
        }
    });
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(opened, QString::fromUtf8(folder.c_str()));
    EXPECT_EQ(dialog.FileName, file);
}
