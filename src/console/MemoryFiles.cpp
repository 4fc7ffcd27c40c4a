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
    // The file is read and its report written before the work image
    // changes: a file refused (too large, unreadable) or one whose report
    // cannot be made (a read-only folder) leaves the image held, so no
    // export writes the records of a file whose report the user never saw.
    TImageFile image;
    std::string report;
    const bool ready = ToldOnFailure([&] {
        image = ReadMemoryImage(OpenDialog1->FileName);
        report = WriteLoadReportFile(image.Bytes, image.ByteCount, SettingsFolder, Now(),
                                     StartReportProgress(image.ByteCount));
    });
    if (!ready) {
        ProgressCyl1->SetVisible(false);
        return;
    }
    TakeMemoryImage(*this, image);
    ToldOnFailure([&] { ShowReport(report); });
}

std::function<void(int)> TForm1::StartReportProgress(int32_t Bytes)
{
    ProgressCyl1->SetVisible(true);
    ProgressCyl1->SetMax(Bytes / RecordSize);
    return [this](int Done) { ProgressCyl1->SetPosition(Done); };
}

void TForm1::ShowReport(const std::string &Path)
{
    LoadReportView(Path);
    Sleep(100);
    LoadReportView(Path);
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
