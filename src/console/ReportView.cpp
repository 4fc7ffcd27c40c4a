// The report view: picking the start record by its stamp, saving a copy of
// the report, finding text in it.

#include "MainForm.h"

#include "Buttons.h"
#include "Dialogs.h"
#include "DtsExport.h"
#include "EditCtrls.h"
#include "Menus.h"
#include "RichEdit.h"
#include "StdCtrls.h"
#include "dxButton.h"

namespace logbridge {

void TForm1::BindReportView()
{
    RichEdit1->OnMouseMove = [this](TObject *Sender, TShiftState Shift, int X, int Y) {
        RichEdit1MouseMove(Sender, Shift, X, Y);
    };
    auto bind = [this](void (TForm1::*Handler)(TObject *)) {
        return [this, Handler](TObject *Sender) { (this->*Handler)(Sender); };
    };
    RichEdit1->OnMouseLeave = bind(&TForm1::RichEdit1MouseLeave);
    RichEdit1->OnSelectionChange = bind(&TForm1::RichEdit1SelectionChange);
    SpeedButton1->OnClick = bind(&TForm1::SpeedButton1Click);
    SaveASRTF1->OnClick = bind(&TForm1::SaveASRTF1Click);
    dxButton11->OnClick = bind(&TForm1::dxButton11Click);
    Found1->OnClick = bind(&TForm1::Found1Click);
    FindDialog1->OnFind = bind(&TForm1::FindDialog1Find);
}

void TForm1::RichEdit1MouseMove(TObject *, TShiftState, int X, int)
{
    RichEdit1->SetCursor(X < 5 ? crDrag : crDefault);
}

// The drag cursor stands for "the pointer is at the left edge": left there
// after the pointer has gone, it would let a later find or a key in the view
// overwrite the chosen start stamp.
void TForm1::RichEdit1MouseLeave(TObject *)
{
    RichEdit1->SetCursor(crDefault);
}

void TForm1::RichEdit1SelectionChange(TObject *)
{
    const bool picking = RichEdit1->Cursor() == crDrag;
    // Reports itself again; the second time the length is already right.
    RichEdit1->SetSelLength(StampLength);
    const int start = RichEdit1->SelStart();
    Label26->SetCaption("  Selection Start: " + std::to_string(start) +
                        "  Selection End: " + std::to_string(start + RichEdit1->SelLength()));
    // A line without a stamp (the report's head) leaves the start as it was,
    // so that the writers never start from a text that names no record.
    if (picking && IsRecordStamp(RichEdit1->SelText()))
        Edit3->SetText(RichEdit1->SelText());
}

void TForm1::SpeedButton1Click(TObject *)
{
    Edit3->SetText("");
}

void TForm1::SaveASRTF1Click(TObject *)
{
    if (SaveDialog3->Execute())
        RichEdit1->Lines.SaveToFile(SaveDialog3->FileName);
}

void TForm1::dxButton11Click(TObject *Sender)
{
    SaveASRTF1Click(Sender);
}

void TForm1::Found1Click(TObject *)
{
    // The view's place in its parent, taken as a screen position.
    FindDialog1->SetPosition(RichEdit1->Left() + RichEdit1->Width(), RichEdit1->Top());
    FindDialog1->Execute();
}

void TForm1::FindDialog1Find(TObject *)
{
    const int start =
        RichEdit1->SelLength() != 0 ? RichEdit1->SelStart() + RichEdit1->SelLength() : 0;
    const std::string &text = FindDialog1->FindText;
    const int found =
        RichEdit1->FindText(text, start, RichEdit1->GetTextLen() - start, stMatchCase);
    if (found < 0)
        return;
    RichEdit1->SetFocus();
    RichEdit1->SetSelStart(found);
    RichEdit1->SetSelLength(int(text.size()));
}

} // namespace logbridge
