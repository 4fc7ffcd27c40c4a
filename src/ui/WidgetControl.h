#pragma once
// A windowed control whose face is a Qt widget (an editable combo box, a
// chart view ...). The face fills the control and takes its font; its keys
// run through the class library's keyboard sequence first (dialog keys, the
// form's key preview, OnKeyDown), so that a form with KeyPreview sees keys
// typed anywhere; a left press on the face focuses the control as the
// platform's own controls do, and focus arriving at the face makes the
// control the form's focused control. The face never moves the focus by
// itself: the form decides where it goes.
//
// PaintTo and Canvas show the control's colour, not the face: pictures of
// a window with faces come from QWidget::grab.

#include "Controls.h"

class TWidgetControl : public TWinControl {
public:
    // Takes Face as a child; it is freed with the control.
    TWidgetControl(TComponent *AOwner, QWidget *Face);
    const char *ClassName() const override { return "TWidgetControl"; }
    QWidget *Face() const { return FFace; }

    void CMFontChanged() override;

protected:
    // The face handles the arrow keys itself.
    bool WantsKey(uint16_t Key) const override { return Key >= VK_LEFT && Key <= VK_DOWN; }
    bool WantsChars() const override { return true; }
    bool FocusOnPress() const override { return true; }
    bool eventFilter(QObject *Watched, QEvent *Event) override;
    void resizeEvent(QResizeEvent *Event) override;
    // Keys the face leaves end here: the filter has run them through the
    // keyboard sequence already.
    void keyPressEvent(QKeyEvent *Event) override;
    void keyReleaseEvent(QKeyEvent *Event) override;

private:
    // The filter's work; true eats the event.
    bool FilterEvent(QObject *Watched, QEvent *Event);
    // Watches Widget and the widgets inside it, and keeps Qt from focusing
    // them on its own; windows the face opens (a drop-down list) are their
    // own.
    void TakeIn(QWidget *Widget);

    QWidget *FFace;
};
