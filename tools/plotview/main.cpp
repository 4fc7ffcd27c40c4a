// Plotview, the recording viewer: one window that loads and plots a
// recording, started by hand or by the console with "/av".
#include "PlotviewForm.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    // The class library's title when a program sets none: the program's name.
    Application->Title = "Plotview";
    plotview::TForm1 form(nullptr);
    form.ShowForm();
    return app.exec();
}
