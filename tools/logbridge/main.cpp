// Logbridge: the logger console.

#include "MainForm.h"
#include "SerialPorts.h"

#include <QApplication>

#include <exception>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    Application->Title = "REZO3 Varadudivezu";
    // What escapes a handler ends it without a message.
    Application->OnException = [](TObject *, const std::exception &) {};
    // The port list is read from the registry's serial-port map; this
    // machine's ports are published there first.
    try {
        PublishMachineSerialPorts();
    } catch (const std::exception &) {
    }
    auto *Form1 = new logbridge::TForm1(nullptr);
    Form1->ShowForm();
    const int result = app.exec();
    delete Form1;
    return result;
}
