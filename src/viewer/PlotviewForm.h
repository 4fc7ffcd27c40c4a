#pragma once
// The viewer's window: the chart of the loaded recording above a panel with
// the info panel, the commands, the run filter and the maker's logo.
//
// Handlers keep the names of the window's events (dxButton1Click ...); each
// runs on the GUI thread, and what escapes one reaches the application's
// default error message box.

#include "Chart.h"
#include "Dialogs.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "Gauges.h"
#include "Recording.h"
#include "StdCtrls.h"
#include "WidgetControl.h"
#include "dxButton.h"

#include <string>
#include <vector>

namespace plotview {

// The maker's page that the logo opens.
inline constexpr const char *MakerWebPage = "https://www.orva-logger.example/";

class TForm1 : public TForm {
public:
    explicit TForm1(TComponent *AOwner);
    const char *ClassName() const override { return "TForm1"; }

    TChart *Chart1;
    TLineSeries *Series1;      // temperature
    TLineSeries *Series2;      // relative humidity
    TWidgetControl *ChartView; // shows Chart1 above the panel
    TPanel *Panel1;
    TGroupBox *GroupBox1;
    TLabel *Label1;
    TLabel *Label2;
    TLabel *Label3;
    TGauge *Gauge1;
    TdxButton *dxButton1; // "Load DTS"
    TdxButton *dxButton2; // "Print"
    TdxButton *dxButton3; // "Zoom -"
    TdxButton *dxButton4; // "Normal"
    TdxButton *dxButton5; // "Zoom +"
    TdxButton *dxButton6; // "Refresh"
    TCheckBox *CheckBox1; // "3D prikaz"
    TCheckBox *CheckBox2; // "Points"
    TComboBox *ComboBox1; // run filter
    TImage *Image1;       // the maker's logo
    TOpenDialog *OpenDialog1;
    TPrinterSetupDialog *PrinterSetupDialog1;

    // The loaded recording: point table, point count, file names, runs.
    TRecording Data;
    // What the start-up hand-over reads; the process's command line and the
    // program folder unless a caller sets others before the first activation.
    std::vector<std::string> Arguments;
    std::string Folder;

    // Loads the recording at Path and shows it whole. A file that cannot be
    // read raises EInOutError and leaves everything shown as it was; a file
    // of more than MaxPoints records shows its first MaxPoints and says so.
    void refresh_data(const std::string &Path);

    void FormActivate(TObject *Sender);
    void FormResize(TObject *Sender);
    void FormKeyDown(TObject *Sender, uint16_t &Key, TShiftState Shift);
    void dxButton1Click(TObject *Sender);
    void dxButton2Click(TObject *Sender);
    void dxButton3Click(TObject *Sender);
    void dxButton4Click(TObject *Sender);
    void dxButton5Click(TObject *Sender);
    void dxButton6Click(TObject *Sender);
    void CheckBox1Click(TObject *Sender);
    void CheckBox2Click(TObject *Sender);
    void ComboBox1Change(TObject *Sender);
    void Image1Click(TObject *Sender);
    void OpenDialog1TypeChange(TObject *Sender);

private:
    bool FHandedOver = false;
};

} // namespace plotview
