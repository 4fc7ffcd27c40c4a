#pragma once
// The class library's standard controls that the windows use, thin, on the
// control bases: the label, the check box, the editable combo box (a Qt
// combo box as its face) and the group box.

#include "Controls.h"
#include "Text.h"
#include "WidgetControl.h"

#include <string>
#include <vector>

class QComboBox;

enum TAlignment { taLeftJustify, taRightJustify, taCenter };

// A property setter's common part: stores Value and marks Control for
// painting, unless Field holds Value already. Returns whether it changed.
template <class T> bool UpdateProperty(TControl &Control, T &Field, const T &Value)
{
    if (Field == Value)
        return false;
    Field = Value;
    Control.Invalidate();
    return true;
}

// Draws Text into R with DrawText Flags in the canvas's font; a disabled
// control's text is engraved (highlight one pixel down and right, shadow on top).
void DrawControlText(TCanvas *Canvas, const std::string &Text, TRect R, unsigned Flags,
                     bool Enabled);

// A caption. With AutoSize (the default) the label takes the size of its
// text whenever the text or the font changes (a right-justified label keeps
// its right edge); a transparent label shows what lies beneath it.
class TLabel : public TGraphicControl {
public:
    explicit TLabel(TComponent *AOwner);
    const char *ClassName() const override { return "TLabel"; }

    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool Value);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool Value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value);
    bool ShowAccelChar() const { return FShowAccelChar; }
    void SetShowAccelChar(bool Value);

    void CMTextChanged() override;
    void CMFontChanged() override;

protected:
    void Paint() override;
    void Loaded() override;

private:
    unsigned TextFlags() const;
    void AdjustBounds();

    TAlignment FAlignment = taLeftJustify;
    bool FAutoSize = true;
    bool FTransparent = false;
    bool FWordWrap = false;
    bool FShowAccelChar = true;
};

// A two-state check box: the box left of its caption. Setting Checked to a
// new value, by program or by the user (click, space), raises OnClick.
class TCheckBox : public TWinControl {
public:
    explicit TCheckBox(TComponent *AOwner);
    const char *ClassName() const override { return "TCheckBox"; }

    bool Checked() const { return FChecked; }
    void SetChecked(bool Value);
    void Toggle() { SetChecked(!FChecked); }

    void CMFocusChanged(TWinControl *Focused) override;

protected:
    void Paint() override;
    bool FocusOnPress() const override { return true; }
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyUp(uint16_t &Key, TShiftState Shift) override;

private:
    bool FChecked = false;
    bool FPressed = false;
};

enum TComboBoxStyle { csDropDown, csDropDownList };

// A combo box: a drop-down list and, in the csDropDown style, an edit field.
// OnChange runs when the user changes the text, by typing (at every
// keystroke) or by choosing an item; setting Text or ItemIndex by program
// does not raise it.
class TComboBox : public TWidgetControl {
public:
    explicit TComboBox(TComponent *AOwner);
    const char *ClassName() const override { return "TComboBox"; }

    TComboBoxStyle Style() const { return FStyle; }
    void SetStyle(TComboBoxStyle Value);
    std::string Text() const;
    void SetText(const std::string &Value);
    int ItemIndex() const;
    void SetItemIndex(int Value);
    int DropDownCount() const;
    void SetDropDownCount(int Value);

    // The list; clearing it keeps the text of the edit field.
    int ItemCount() const;
    std::string Item(int Index) const;
    void AddItem(const std::string &Value);
    void ClearItems();

    TNotifyEvent OnChange;

    // The Qt combo box, for typing and choosing in tests.
    QComboBox *Combo() const { return FCombo; }

protected:
    virtual void Change();
    // The edit field's text is selected when the focus comes other than by a press.
    void DoEnter() override;

private:
    QComboBox *FCombo;
    TSpelledText FSetText;
    QObject *FEditWatched = nullptr;
    TComboBoxStyle FStyle = csDropDown;
};

// A frame with a caption in its top edge, holding other controls.
class TGroupBox : public TCustomControl {
public:
    explicit TGroupBox(TComponent *AOwner);
    const char *ClassName() const override { return "TGroupBox"; }

protected:
    void Paint() override;
};
