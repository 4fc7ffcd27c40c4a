// The memory tab's files: memory images ("Snimi BIN", "Ucitaj BIN"), the
// reports in the report view, recordings ("Export DTS") and the viewer's
// start on the hand-over recording ("Prikazi Grafik").

#include "MainForm.h"

#include "ConsoleFiles.h"
#include "DateTime.h"
#include "Dialogs.h"
#include "DtsExport.h"
#include "EditCtrls.h"
#include "ProgressCyl.h"
#include "RichEdit.h"
#include "StdCtrls.h"
#include "System.h"
#include "Text.h"

namespace logbridge {

void TForm1::dxButton6Click(TObject *)
{
    SaveDialog1->InitialDir = MemoryImageFolder(SettingsFolder);
    if (!SaveDialog1->Execute())
        return;
    SaveMemoryImage(*this, SaveDialog1->FileName);
    Label12->SetCaption(SavedFileCaption(SaveDialog1->FileName));
    Label12->SetHint(SaveDialog1->FileName);
}

void TForm1::dxButton5Click(TObject *)
{
    OpenDialog1->InitialDir = MemoryImageFolder(SettingsFolder);
    if (!OpenDialog1->Execute())
        return;
    ProgressCyl1->SetVisible(true);
    try {
        LoadMemoryImage(*this, OpenDialog1->FileName);
    } catch (const EInOutError &E) {
        // Refused whole (too large, not a file, unreadable), the image held
        // stays; the user is told why.
        ProgressCyl1->SetVisible(false);
        ErrorBox(E.what());
        return;
    }
    WriteReport(WriteLoadReportFile);
}

void TForm1::WriteReport(TReportFileWriter Write)
{
    ProgressCyl1->SetVisible(true);
    ProgressCyl1->SetMax(ByteCount / RecordSize);
    const std::string path =
        Write(*this, SettingsFolder, Now(), [this](int Done) { ProgressCyl1->SetPosition(Done); });
    LoadReportView(path);
    Sleep(100);
    LoadReportView(path);
    ProgressCyl1->SetVisible(false);
}

void TForm1::LoadReportView(const std::string &Path)
{
    RichEdit1->Lines.LoadFromFile(Path);
}

void TForm1::dxButton7Click(TObject *)
{
    if (!SaveDialog2->Execute())
        return;
    const TRecordingResult result = ExportRecording(*this, SaveDialog2->FileName, Edit3->Text());
    if (result.Processed > 0)
        Label26->SetCaption(result.LastStamp);
    if (!result.StartFound)
        InfoBox(NoStartRecordText);
}

void TForm1::dxButton12Click(TObject *)
{
    const TRecordingResult result = WriteHandOverRecording(*this, SettingsFolder, Edit3->Text());
    if (result.Processed > 0)
        Label26->SetCaption(result.LastStamp);
    if (!result.StartFound) {
        InfoBox(NoStartRecordText);
        return;
    }
    const TViewerStart viewer = ViewerStart(SettingsFolder);
    Dialogs().ShellExecute("", viewer.Program, viewer.Parameters, "", SW_SHOWNORMAL);
}

} // namespace logbridge
