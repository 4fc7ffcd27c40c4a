// The skin controls as the console shows them: the acquisition lamp, the
// °C/F check box and the window header.
#include "Gallery.h"

#include "DSCheckBox.h"
#include "DSGradient.h"
#include "DSIndicators.h"
#include "Forms.h"

namespace {

QImage Render(TControl &Control)
{
    TBitmap picture;
    picture.SetSize(Control.Width(), Control.Height());
    Control.PaintTo(picture.Canvas(), 0, 0);
    return picture.Image().copy();
}

QImage Enlarged(const QImage &Image, int Factor)
{
    return Image.scaled(Image.size() * Factor, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

} // namespace

GALLERY_PAGE(skin)
{
    // The lamp sits, transparent, on the header's gradient.
    for (bool active : {false, true}) {
        TForm form(nullptr);
        form.SetBounds(0, 0, 45, 45);
        auto *header = new TDSGradient(&form);
        header->SetParent(&form);
        header->SetBounds(0, 0, 45, 45);
        header->SetStartColor(0x804000);
        header->SetEndColor(0x554A4A);
        auto *lamp = new TDSSimpleLed(&form);
        lamp->SetName("DSSimpleLed1");
        lamp->SetParent(&form);
        lamp->SetBounds(10, 10, 25, 25);
        lamp->SetLedType(tltLargeRect);
        lamp->SetTransparent(true);
        lamp->SetActive(active);
        Save(active ? "lamp-on" : "lamp-off", Enlarged(Render(form), 8));
    }

    for (bool enabled : {true, false})
        for (bool checked : {true, false}) {
            TForm form(nullptr);
            form.SetBounds(0, 0, 60, 15);
            form.SetColor(0x554A4A);
            auto *box = new TDSCheckBox(&form);
            box->SetName("DSCheckBox1");
            box->SetParent(&form);
            box->SetBounds(2, 2, 111, 11);
            box->Font()->SetName("Tahoma");
            box->Font()->SetStyle(fsBold);
            box->SetCaption("\xB0"
                            "C/F");
            box->SetChecked(checked);
            box->SetEnabled(enabled);
            std::string name = std::string("checkbox-") + (checked ? "checked" : "unchecked") +
                               (enabled ? "" : "-disabled");
            Save(name, Enlarged(Render(form), 6));
        }

    TForm form(nullptr);
    form.SetBounds(0, 0, 577, 161);
    auto *header = new TDSGradient(&form);
    header->SetName("DSGradient1");
    header->SetParent(&form);
    header->SetBounds(0, 0, 577, 161);
    header->SetStartColor(0x804000);
    header->SetEndColor(0x554A4A);
    header->SetDirection(tgdLeftRight);
    Save("header", Render(*header));
}
