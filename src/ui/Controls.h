#pragma once
// Control bases of the class library on Qt widgets.
//
// Every control is a QWidget and a TComponent: its owner frees it (owned
// components go first, before the widget tree), its parent shows it. A
// control paints into a backing bitmap through Canvas() and the bitmap is
// put on the screen; PaintTo renders a control and its children into any
// canvas, so that pictures can be checked without a display.
//
// The class library's notifications arrive as virtual methods named after
// their messages (CMMouseEnter, CMFocusChanged, WMSize ...); input can be
// fed either by Qt events or by the Handle... entry points, which run the
// same sequence (tests use them).

#include "Classes.h"
#include "Graphics.h"

#include <QPointer>
#include <QWidget>

class QKeyEvent;
class QMouseEvent;

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class TControl;
class TWinControl;
class TCustomForm;
class TBasicAction;
class TControlActionLink;
class TPopupMenu;

// Makes the action link of a control (ActnList.h: NewActionLink).
using TControlActionLinkClass = TControlActionLink *(*)(TControl *Client);

// ---------------------------------------------------------------- input types

using TShiftState = unsigned;
enum : unsigned {
    ssShift = 1,
    ssAlt = 2,
    ssCtrl = 4,
    ssLeft = 8,
    ssRight = 16,
    ssMiddle = 32,
    ssDouble = 64,
};
enum TMouseButton { mbLeft, mbRight, mbMiddle };

// Virtual key codes.
enum : uint16_t {
    VK_BACK = 0x08,
    VK_TAB = 0x09,
    VK_RETURN = 0x0D,
    VK_SHIFT = 0x10,
    VK_CONTROL = 0x11,
    VK_MENU = 0x12,
    VK_ESCAPE = 0x1B,
    VK_SPACE = 0x20,
    VK_PRIOR = 0x21,
    VK_NEXT = 0x22,
    VK_END = 0x23,
    VK_HOME = 0x24,
    VK_LEFT = 0x25,
    VK_UP = 0x26,
    VK_RIGHT = 0x27,
    VK_DOWN = 0x28,
    VK_INSERT = 0x2D,
    VK_DELETE = 0x2E,
    VK_NUMPAD0 = 0x60,
    VK_MULTIPLY = 0x6A,
    VK_ADD = 0x6B,
    VK_SUBTRACT = 0x6D,
    VK_DECIMAL = 0x6E,
    VK_DIVIDE = 0x6F,
    VK_F1 = 0x70,
    VK_F2,
    VK_F3,
    VK_F4,
    VK_F5,
    VK_F6,
    VK_F7,
    VK_F8,
    VK_F9,
    VK_F10,
    VK_F11,
    VK_F12,
};

using TModalResult = int;
enum : int {
    mrNone = 0,
    mrOk = 1,
    mrCancel = 2,
    mrAbort = 3,
    mrRetry = 4,
    mrIgnore = 5,
    mrYes = 6,
    mrNo = 7,
};

using TMouseEvent =
    std::function<void(TObject *Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject *Sender, TShiftState Shift, int X, int Y)>;
using TKeyEvent = std::function<void(TObject *Sender, uint16_t &Key, TShiftState Shift)>;
using TKeyPressEvent = std::function<void(TObject *Sender, char &Key)>;

// The Alt, Shift or Ctrl key state as the platform's GetKeyState reports it:
// negative while the key is down.
int16_t GetKeyState(int VirtualKey);
// The mouse pointer in screen coordinates.
TPoint GetCursorPos();
// The virtual key of a Qt key event, 0 for a key without one. Keys of the
// numeric keypad have their own codes (VK_ADD, VK_NUMPAD0 ...).
uint16_t VirtualKeyOf(const QKeyEvent &Event);
TShiftState ShiftStateOf(Qt::KeyboardModifiers Modifiers);
// The character of Alt with a letter or digit (no Ctrl): the platform's
// system character, which goes to the accelerators and is never typed;
// 0 for any other key.
char SystemCharOf(const QKeyEvent &Event);
// Whether Character is the accelerator of Text: the character after a single
// '&', compared without case.
bool IsAccel(char Character, const std::string &Text);

// ---------------------------------------------------------------- styles

enum TControlStyleFlag : unsigned {
    csAcceptsControls = 1u << 0,
    csCaptureMouse = 1u << 1,
    csDesignInteractive = 1u << 2,
    csClickEvents = 1u << 3,
    csFramed = 1u << 4,
    csSetCaption = 1u << 5,
    csOpaque = 1u << 6,
    csDoubleClicks = 1u << 7,
    csFixedWidth = 1u << 8,
    csFixedHeight = 1u << 9,
    csNoDesignVisible = 1u << 10,
    csReplicatable = 1u << 11,
    csNoStdEvents = 1u << 12,
    csDisplayDragImage = 1u << 13,
    csReflector = 1u << 14,
    csActionClient = 1u << 15,
    csMenuEvents = 1u << 16,
};
using TControlStyle = unsigned;

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
using TAnchors = unsigned;
enum : unsigned { akLeft = 1, akTop = 2, akRight = 4, akBottom = 8 };

using TCursor = int;
enum : int {
    crDefault = 0,
    crNone = -1,
    crArrow = -2,
    crCross = -3,
    crIBeam = -4,
    crSizeNESW = -6,
    crSizeNS = -7,
    crSizeNWSE = -8,
    crSizeWE = -9,
    crHourGlass = -11,
    crDrag = -12,
    crNo = -18,
    crHandPoint = -21,
    crSizeAll = -22,
};

// A dialog key (Enter, Esc ...) or dialog character offered to the controls
// of a form; a handler that takes it sets Result to 1.
struct TCMDialogKey {
    uint16_t CharCode = 0;
    TShiftState Shift = 0;
    int Result = 0;
};

// ---------------------------------------------------------------- TControl

class TControl : public QWidget, public TComponent {
public:
    explicit TControl(TComponent *AOwner);
    ~TControl() override;
    const char *ClassName() const override { return "TControl"; }

    // Parent: the windowed control that shows this one; null for none.
    TWinControl *Parent() const { return FParent; }
    virtual void SetParent(TWinControl *AParent);
    // Copies the component name into Caption while they are equal and the
    // style has csSetCaption, as the class library does outside loading.
    void SetName(const std::string &Value) override;

    int Left() const { return FLeft; }
    int Top() const { return FTop; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    void SetLeft(int Value) { SetBounds(Value, FTop, FWidth, FHeight); }
    void SetTop(int Value) { SetBounds(FLeft, Value, FWidth, FHeight); }
    virtual void SetWidth(int Value) { SetBounds(FLeft, FTop, Value, FHeight); }
    virtual void SetHeight(int Value) { SetBounds(FLeft, FTop, FWidth, Value); }
    // Moves and sizes the control; a size change resizes the canvas and
    // delivers WMSize (windowed controls: once their window exists).
    virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
    TRect BoundsRect() const { return Bounds(FLeft, FTop, FWidth, FHeight); }
    virtual int ClientWidth() const { return FWidth; }
    virtual int ClientHeight() const { return FHeight; }
    TRect ClientRect() const { return Rect(0, 0, ClientWidth(), ClientHeight()); }
    TPoint ClientToScreen(TPoint P) const;
    TPoint ScreenToClient(TPoint P) const;

    // Whether the control is Control or holds it.
    bool ContainsControl(const TControl *Control) const;

    TControlStyle ControlStyle() const { return FControlStyle; }
    void SetControlStyle(TControlStyle Value) { FControlStyle = Value; }

    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    bool Enabled() const { return FEnabled; }
    // Delivers CMEnabledChanged on a change.
    virtual void SetEnabled(bool Value);

    TColor Color() const { return FColor; }
    // Clears ParentColor; children with ParentColor take the colour.
    void SetColor(TColor Value);
    bool ParentColor() const { return FParentColor; }
    void SetParentColor(bool Value);
    // Changes of the font reach CMFontChanged; a font set here clears ParentFont.
    TFont *Font() { return &FFont; }
    void SetFont(const TFont *Value) { FFont.Assign(Value); }
    bool ParentFont() const { return FParentFont; }
    void SetParentFont(bool Value);

    const std::string &Caption() const { return FCaption; }
    // Delivers CMTextChanged on a change.
    void SetCaption(const std::string &Value);
    const std::string &Hint() const { return FHint; }
    void SetHint(const std::string &Value);
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool Value);
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor Value);

    TAlign Align = alNone;
    TAnchors Anchors = akLeft | akTop;
    intptr_t Tag = 0;

    // The control's drawing surface, as big as the control. It keeps the last
    // paint, so a child may copy its parent's pixels from Parent()->Canvas()
    // (after Parent()->EnsurePainted()).
    TCanvas *Canvas() { return FBacking.Canvas(); }
    // Brings the picture up to date: paints the control when it was
    // invalidated, never painted, resized, or when a picture it was painted
    // from (its parent's, a sibling's) has changed since. Called while
    // another control paints, it records that control's use of this picture.
    void EnsurePainted();
    // Whether the picture needs painting before it can be shown.
    bool PictureStale() const;
    // The class library's right-to-left adjustment of DrawText flags; all
    // controls read left to right, so the flags stay as they are.
    unsigned DrawTextBiDiModeFlags(unsigned Flags) const { return Flags; }
    // Marks the control for painting at the next chance.
    void Invalidate();
    // Paints the control now, then shows it.
    void Repaint();
    void Refresh() { Repaint(); }
    // Paints now if the control was invalidated.
    void Update();
    // Paints the control, then its visible children, onto Dest with the
    // control's top-left at (X, Y); a window region leaves out what lies
    // outside it.
    void PaintTo(TCanvas *Dest, int X, int Y);

    // Mouse capture: the control keeps getting mouse events until released.
    bool MouseCapture() const;
    void SetMouseCapture(bool Value);

    // The class library's mouse input sequence: press (capture, click state,
    // MouseDown), move, release (Click when released inside after a left
    // press, then MouseUp), pointer entering and leaving. A control that
    // handles the button-down message itself overrides HandleMouseDown and
    // runs the inherited sequence from there.
    virtual void HandleMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y,
                                 bool Double = false);
    void HandleMouseMove(TShiftState Shift, int X, int Y);
    void HandleMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    // The same sequence for a Qt mouse event (press, double click, move,
    // release) that a hosted widget received, at P in this control; an
    // exception from a handler goes to the application's handler.
    void HandleQtMouseEvent(const QMouseEvent &Event, QPoint P);
    // The pointer came onto the control, or left it: each once per crossing,
    // whoever reports it (the window system, a drag with a button held, a
    // control that hands the pointer on).
    void HandleMouseEnter()
    {
        if (FMouseInside)
            return;
        FMouseInside = true;
        CMMouseEnter();
    }
    void HandleMouseLeave()
    {
        if (!FMouseInside)
            return;
        FMouseInside = false;
        CMMouseLeave();
        if (OnMouseLeave)
            OnMouseLeave(this);
    }
    bool MouseInside() const { return FMouseInside; }

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;
    TNotifyEvent OnResize;
    // The pointer left the control.
    TNotifyEvent OnMouseLeave;

    // The menu a right click on the control shows (not owned; freeing it
    // unlinks it); null for none.
    TPopupMenu *PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(TPopupMenu *Value);

    // The action whose caption, enabled state, hint and visibility the control
    // shows and which a click runs when OnClick is not assigned; null for
    // none. Freeing the action unlinks it.
    TBasicAction *Action() const;
    void SetAction(TBasicAction *Value);
    TControlActionLink *ActionLink() const { return FActionLink; }

    // Raises OnClick, or runs the action.
    virtual void Click();
    virtual void DblClick();

    // Messages, each with the class library's default handling.
    virtual void CMMouseEnter() {}
    virtual void CMMouseLeave() {}
    virtual void CMEnabledChanged() { Invalidate(); }
    virtual void CMTextChanged() { Invalidate(); }
    virtual void CMColorChanged() { Invalidate(); }
    virtual void CMParentColorChanged() { Invalidate(); }
    virtual void CMFontChanged() { Invalidate(); }
    virtual void CMParentFontChanged() {}
    virtual void CMVisibleChanged() {}
    virtual void CMSysColorChange() {}
    // Sent to every control of a form when its focused control changes.
    virtual void CMFocusChanged(TWinControl *Focused) { (void)Focused; }
    // Enter, Esc and the other dialog keys, and accelerator characters,
    // offered to each control of the form until one takes them.
    virtual void CMDialogKey(TCMDialogKey &Message) { (void)Message; }
    virtual void CMDialogChar(TCMDialogKey &Message) { (void)Message; }
    // Size notification with the new client size; the default runs Resize.
    virtual void WMSize(int ClientWidth, int ClientHeight);
    virtual void WMMove() {}

protected:
    // The linked action changed (CheckDefaults: only where the control still
    // holds its defaults, as when the action arrives during loading).
    virtual void ActionChange(TObject *Sender, bool CheckDefaults);
    virtual TControlActionLinkClass GetActionLinkClass() const;
    void Notification(TComponent *AComponent, TOperation Operation) override;

    virtual void Paint() {}
    virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseMove(TShiftState Shift, int X, int Y);
    virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    // Raises OnResize.
    virtual void Resize();
    // Runs the whole paint of the control into its canvas: background, then Paint.
    virtual void PaintControl();
    bool InPaint() const { return FInPaint; }

    void paintEvent(QPaintEvent *Event) override;
    void mousePressEvent(QMouseEvent *Event) override;
    void mouseDoubleClickEvent(QMouseEvent *Event) override;
    void mouseMoveEvent(QMouseEvent *Event) override;
    void mouseReleaseEvent(QMouseEvent *Event) override;
    void enterEvent(QEnterEvent *Event) override;
    void leaveEvent(QEvent *Event) override;
    void contextMenuEvent(QContextMenuEvent *Event) override;
    void resizeEvent(QResizeEvent *Event) override;
    void moveEvent(QMoveEvent *Event) override;

private:
    friend class TWinControl;
    void FontChanged();
    // A control hidden, disabled, freed or moved out of its form gives up
    // the focus it or a child holds; Removing: freed or moved.
    void GiveUpFocus(bool Removing = false);
    void TakeParentFont();
    void TakeParentColor();
    void PassColorToChildren();

    TWinControl *FParent = nullptr;
    int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
    TControlStyle FControlStyle = csCaptureMouse | csClickEvents | csSetCaption | csDoubleClicks;
    bool FVisible = true;
    bool FEnabled = true;
    TColor FColor = clWindow;
    bool FParentColor = true;
    TFont FFont;
    bool FParentFont = true;
    bool FTakingParentFont = false;
    std::string FCaption;
    std::string FHint;
    bool FShowHint = false;
    TCursor FCursor = crDefault;
    TBitmap FBacking;
    // A picture this control's last paint read, and its serial then.
    struct TPictureSource {
        QPointer<TControl> Control;
        uint64_t Serial;
    };
    void NoteReadBy();
    // Asks the controls that painted from this picture to paint anew.
    void NotifyReaders();
    // The picture moved, appeared or went: readers paint anew.
    void PictureMoved();
    bool FInPaint = false;
    bool FInvalid = false;
    bool FPainted = false;
    // Counts the changes of the backing picture.
    uint64_t FSerial = 0;
    std::vector<TPictureSource> FSources;
    std::vector<QPointer<TControl>> FReaders;
    mutable bool FCheckingStale = false;
    bool FClicked = false;
    bool FMouseInside = false;
    TControlActionLink *FActionLink = nullptr;
    TPopupMenu *FPopupMenu = nullptr;
};

// A control without focus of its own that paints on its canvas.
class TGraphicControl : public TControl {
public:
    explicit TGraphicControl(TComponent *AOwner);
    const char *ClassName() const override { return "TGraphicControl"; }
};

// ---------------------------------------------------------------- TWinControl

// A control with a window: focus, keyboard, children, a window region.
class TWinControl : public TControl {
public:
    explicit TWinControl(TComponent *AOwner);
    ~TWinControl() override;
    const char *ClassName() const override { return "TWinControl"; }

    // The window exists from the first HandleNeeded on (a form's Show, a
    // parent whose window exists, or the control asking for it).
    bool HandleAllocated() const { return FHandleAllocated; }
    void HandleNeeded();

    // Whether Tab and Shift+Tab stop at the control; a click focuses a
    // control whatever this holds.
    bool TabStop() const { return FTabStop; }
    void SetTabStop(bool Value) { FTabStop = Value; }
    int TabOrder = -1;
    bool DoubleBuffered = false;

    // Whether the control can take the focus: it sits on a form, and it and
    // its parents below the form are visible and enabled.
    bool CanFocus() const;
    // Makes this control the form's focused control and the form, when
    // shown, the active window; raises EInvalidOperation when the control
    // cannot take the focus.
    virtual void SetFocus();
    bool Focused() const;
    // A left press on the control: one that takes the focus on a press
    // (FocusOnPress) and can take it becomes the focused control, before
    // the press itself is handled.
    void PressFocus();
    // The tab stop inside this control after (Forward) or before Current
    // in tab order, wrapping; the first or last for a Current not among
    // them; null when none can take the focus.
    TWinControl *FindNextControl(TWinControl *Current, bool Forward) const;
    // Focuses the first tab stop inside this control; returns whether one took it.
    bool SelectFirst();

    // Clips the window to Region (copied); null removes the clipping.
    void SetWindowRgn(const TRegion *Region, bool Redraw = true);
    const TRegion *WindowRegion() const { return FHasRegion ? &FRegion : nullptr; }

    // The controls whose parent this is, in z-order (bottom first).
    std::vector<TControl *> Controls() const;

    // The class library's keyboard sequence for this control as the focused
    // one: dialog keys to the form first (unless WantsKey), then the form's
    // key preview, then KeyDown; Shift+F10 left over asks for the pop-up
    // menu, as the Menu key does; KeyPress likewise, and a character nobody
    // took is offered to the form's controls as an accelerator. HandleKeyDown
    // returns false when a dialog key or Shift+F10 was taken or a handler
    // cleared Key.
    bool HandleKeyDown(uint16_t Key, TShiftState Shift);
    void HandleKeyUp(uint16_t Key, TShiftState Shift);
    void HandleKeyPress(char Key, TShiftState Shift = 0);

    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;
    TKeyPressEvent OnKeyPress;
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;

    void CMDialogKey(TCMDialogKey &Message) override;
    void CMDialogChar(TCMDialogKey &Message) override;
    void CMFocusChanged(TWinControl *Focused) override;

protected:
    TControlActionLinkClass GetActionLinkClass() const override;
    // Creates the window: from here on it exists, a size notification
    // arrives, and the children get theirs.
    virtual void CreateHandle();
    // Raise OnKeyDown, OnKeyUp, OnKeyPress.
    virtual void KeyDown(uint16_t &Key, TShiftState Shift);
    virtual void KeyUp(uint16_t &Key, TShiftState Shift);
    virtual void KeyPress(char &Key);
    // Focus arriving and leaving (OnEnter, OnExit).
    virtual void DoEnter();
    virtual void DoExit();
    // Whether the control handles Key itself rather than as a dialog key.
    virtual bool WantsKey(uint16_t Key) const
    {
        (void)Key;
        return false;
    }
    // Whether typed characters are the control's own (no accelerators then).
    virtual bool WantsChars() const { return false; }
    // Whether a left press focuses the control, as the platform's own
    // controls (edits, lists, track bars, check boxes, tabs) do; a control
    // that focuses itself in MouseDown leaves it off.
    virtual bool FocusOnPress() const { return false; }
    // Whether the focus is arriving by a mouse press (not by the keyboard
    // or the program): an edit selects its text only when it is not.
    static bool FocusingByPress();

    void keyPressEvent(QKeyEvent *Event) override;
    void keyReleaseEvent(QKeyEvent *Event) override;
    void focusInEvent(QFocusEvent *Event) override;
    // Tab reaches the controls as a key; the form moves the focus.
    bool focusNextPrevChild(bool) override { return false; }

private:
    friend class TCustomForm;
    bool FHandleAllocated = false;
    bool FTabStop = false;
    bool FHasRegion = false;
    TRegion FRegion;
};

// A windowed control that paints on its canvas.
class TCustomControl : public TWinControl {
public:
    explicit TCustomControl(TComponent *AOwner) : TWinControl(AOwner) {}
    const char *ClassName() const override { return "TCustomControl"; }
};

// The item after (Forward) or before Current in Items, wrapping round; the
// first or the last for a Current not among them; null when Items is empty.
template <class T> T *NextInRing(const std::vector<T *> &Items, const T *Current, bool Forward)
{
    if (Items.empty())
        return nullptr;
    const auto at = std::find(Items.begin(), Items.end(), Current);
    const size_t count = Items.size();
    if (at == Items.end())
        return Forward ? Items.front() : Items.back();
    const size_t index = static_cast<size_t>(at - Items.begin());
    return Items[(index + (Forward ? 1 : count - 1)) % count];
}

// The form that contains Control, or null.
TCustomForm *GetParentForm(const TControl *Control);
// Asks for the pop-up menu from the keyboard, as the Menu key does.
void RequestContextMenu(QWidget *Widget);
// The control under a screen point (the innermost one), or null.
TControl *FindControlAt(TPoint ScreenPos);
// Ends any mouse capture.
void ReleaseCapture();
// Lets the user move Window with the mouse while the button is held: the
// window system's move where it has one, else the window follows the
// pointer until the button is released.
void StartWindowMove(TWinControl *Window);
// How StartWindowMove starts a move; tests put their own in to see each
// request. Null restores the platform's. Returns the one in use before.
using TWindowMoveStarter = std::function<void(TWinControl *Window)>;
TWindowMoveStarter SetWindowMoveStarter(TWindowMoveStarter Starter);

// An operation a control cannot carry out in its state or with the value given.
class EInvalidOperation : public Exception {
public:
    using Exception::Exception;
};
