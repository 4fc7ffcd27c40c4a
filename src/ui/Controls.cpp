#include "Controls.h"

#include "ActnList.h"
#include "Forms.h"
#include "Menus.h"
#include "Text.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPointer>
#include <QScopedValueRollback>
#include <QWindow>

#include <algorithm>
#include <cctype>
#include <exception>
#include <utility>

// ---------------------------------------------------------------- helpers

namespace {

// The control whose PaintControl runs (innermost), and how many run: a
// paint that reads another control's picture records it as a source, and
// nothing drawn while any control paints schedules a screen update.
TControl *PaintingControl = nullptr;
int PaintDepth = 0;

// A window following the pointer because the platform has no move of its own.
struct TWindowMove {
    QWidget *Window = nullptr;
    QPoint Origin;
    QPoint StartPos;
};
TWindowMove ActiveMove;

TShiftState ShiftFromModifiers(Qt::KeyboardModifiers Modifiers)
{
    TShiftState shift = 0;
    if (Modifiers & Qt::ShiftModifier)
        shift |= ssShift;
    if (Modifiers & Qt::AltModifier)
        shift |= ssAlt;
    if (Modifiers & Qt::ControlModifier)
        shift |= ssCtrl;
    return shift;
}

TShiftState ShiftFromMouse(const QMouseEvent *Event)
{
    TShiftState shift = ShiftFromModifiers(Event->modifiers());
    if (Event->buttons() & Qt::LeftButton)
        shift |= ssLeft;
    if (Event->buttons() & Qt::RightButton)
        shift |= ssRight;
    if (Event->buttons() & Qt::MiddleButton)
        shift |= ssMiddle;
    return shift;
}

bool MouseButton(Qt::MouseButton Button, TMouseButton &Result)
{
    switch (Button) {
    case Qt::LeftButton: Result = mbLeft; return true;
    case Qt::RightButton: Result = mbRight; return true;
    case Qt::MiddleButton: Result = mbMiddle; return true;
    default: return false;
    }
}

// Virtual keys beyond the named ones: their codes in the platform's table.
enum : uint16_t {
    VK_PAUSE = 0x13,
    VK_CAPITAL = 0x14,
    VK_SNAPSHOT = 0x2C,
    VK_LWIN = 0x5B,
    VK_APPS = 0x5D,
    VK_F13 = 0x7C,
    VK_NUMLOCK = 0x90,
    VK_SCROLL = 0x91,
    VK_OEM_1 = 0xBA,
    VK_OEM_PLUS = 0xBB,
    VK_OEM_COMMA = 0xBC,
    VK_OEM_MINUS = 0xBD,
    VK_OEM_PERIOD = 0xBE,
    VK_OEM_2 = 0xBF,
    VK_OEM_3 = 0xC0,
    VK_OEM_4 = 0xDB,
    VK_OEM_5 = 0xDC,
    VK_OEM_6 = 0xDD,
    VK_OEM_7 = 0xDE,
    VK_OEM_8 = 0xDF,
};

uint16_t VirtualKey(int Key, Qt::KeyboardModifiers Modifiers)
{
    if (Modifiers & Qt::KeypadModifier) {
        if (Key >= Qt::Key_0 && Key <= Qt::Key_9)
            return static_cast<uint16_t>(VK_NUMPAD0 + (Key - Qt::Key_0));
        switch (Key) {
        case Qt::Key_Plus: return VK_ADD;
        case Qt::Key_Minus: return VK_SUBTRACT;
        case Qt::Key_Asterisk: return VK_MULTIPLY;
        case Qt::Key_Slash: return VK_DIVIDE;
        case Qt::Key_Period:
        case Qt::Key_Comma: return VK_DECIMAL;
        default: break;
        }
    }
    if (Key >= Qt::Key_A && Key <= Qt::Key_Z)
        return static_cast<uint16_t>('A' + (Key - Qt::Key_A));
    if (Key >= Qt::Key_0 && Key <= Qt::Key_9)
        return static_cast<uint16_t>('0' + (Key - Qt::Key_0));
    if (Key >= Qt::Key_F1 && Key <= Qt::Key_F12)
        return static_cast<uint16_t>(VK_F1 + (Key - Qt::Key_F1));
    switch (Key) {
    case Qt::Key_Backspace: return VK_BACK;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return VK_TAB;
    case Qt::Key_Return:
    case Qt::Key_Enter: return VK_RETURN;
    case Qt::Key_Shift: return VK_SHIFT;
    case Qt::Key_Control: return VK_CONTROL;
    case Qt::Key_Alt: return VK_MENU;
    case Qt::Key_Escape: return VK_ESCAPE;
    case Qt::Key_Space: return VK_SPACE;
    case Qt::Key_PageUp: return VK_PRIOR;
    case Qt::Key_PageDown: return VK_NEXT;
    case Qt::Key_End: return VK_END;
    case Qt::Key_Home: return VK_HOME;
    case Qt::Key_Left: return VK_LEFT;
    case Qt::Key_Up: return VK_UP;
    case Qt::Key_Right: return VK_RIGHT;
    case Qt::Key_Down: return VK_DOWN;
    case Qt::Key_Insert: return VK_INSERT;
    case Qt::Key_Delete: return VK_DELETE;
    case Qt::Key_Pause: return VK_PAUSE;
    case Qt::Key_CapsLock: return VK_CAPITAL;
    case Qt::Key_Print: return VK_SNAPSHOT;
    case Qt::Key_Meta:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R: return VK_LWIN;
    case Qt::Key_Menu: return VK_APPS;
    case Qt::Key_NumLock: return VK_NUMLOCK;
    case Qt::Key_ScrollLock: return VK_SCROLL;
    case Qt::Key_Semicolon: return VK_OEM_1;
    case Qt::Key_Plus:
    case Qt::Key_Equal: return VK_OEM_PLUS;
    case Qt::Key_Comma: return VK_OEM_COMMA;
    case Qt::Key_Minus: return VK_OEM_MINUS;
    case Qt::Key_Period: return VK_OEM_PERIOD;
    case Qt::Key_Slash: return VK_OEM_2;
    case Qt::Key_QuoteLeft: return VK_OEM_3;
    case Qt::Key_BracketLeft: return VK_OEM_4;
    case Qt::Key_Backslash: return VK_OEM_5;
    case Qt::Key_BracketRight: return VK_OEM_6;
    case Qt::Key_Apostrophe: return VK_OEM_7;
    default: break;
    }
    if (Key >= Qt::Key_F13 && Key <= Qt::Key_F24)
        return static_cast<uint16_t>(VK_F13 + (Key - Qt::Key_F13));
    // Every other key still has a code, so that its release reaches the
    // controls that saw it go down.
    return Key != 0 && Key != Qt::Key_unknown ? VK_OEM_8 : 0;
}

Qt::CursorShape CursorShape(TCursor Cursor)
{
    switch (Cursor) {
    case crNone: return Qt::BlankCursor;
    case crCross: return Qt::CrossCursor;
    case crIBeam: return Qt::IBeamCursor;
    case crSizeNESW: return Qt::SizeBDiagCursor;
    case crSizeNS: return Qt::SizeVerCursor;
    case crSizeNWSE: return Qt::SizeFDiagCursor;
    case crSizeWE: return Qt::SizeHorCursor;
    case crHourGlass: return Qt::WaitCursor;
    case crDrag: return Qt::DragMoveCursor;
    case crNo: return Qt::ForbiddenCursor;
    case crHandPoint: return Qt::PointingHandCursor;
    case crSizeAll: return Qt::SizeAllCursor;
    default: return Qt::ArrowCursor;
    }
}

// The controls among a widget's direct children (qobject_cast cannot tell
// them from other widgets: they carry no meta-object of their own).
std::vector<TControl *> ChildControls(const QWidget *Widget)
{
    std::vector<TControl *> result;
    for (QObject *child : Widget->children())
        if (auto control = dynamic_cast<TControl *>(child))
            result.push_back(control);
    return result;
}

void FillImage(TBitmap &Bitmap, TColor Color)
{
    TColor rgb = ColorToRGB(Color);
    Bitmap.Image().fill(QColor(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb)));
}

} // namespace

int16_t GetKeyState(int VirtualKey)
{
    Qt::KeyboardModifiers modifiers = QGuiApplication::queryKeyboardModifiers();
    bool down = (VirtualKey == VK_MENU && (modifiers & Qt::AltModifier)) ||
                (VirtualKey == VK_SHIFT && (modifiers & Qt::ShiftModifier)) ||
                (VirtualKey == VK_CONTROL && (modifiers & Qt::ControlModifier));
    return down ? static_cast<int16_t>(-32768) : 0;
}

TPoint GetCursorPos()
{
    QPoint p = QCursor::pos();
    return {p.x(), p.y()};
}

uint16_t VirtualKeyOf(const QKeyEvent &Event)
{
    return VirtualKey(Event.key(), Event.modifiers());
}

char SystemCharOf(const QKeyEvent &Event)
{
    if ((Event.modifiers() & (Qt::AltModifier | Qt::ControlModifier)) != Qt::AltModifier)
        return 0;
    const uint16_t key = VirtualKeyOf(Event);
    const bool alphanumeric = (key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z');
    return alphanumeric ? static_cast<char>(key) : 0;
}

TShiftState ShiftStateOf(Qt::KeyboardModifiers Modifiers)
{
    return ShiftFromModifiers(Modifiers);
}

bool IsAccel(char Character, const std::string &Text)
{
    for (size_t i = 0; i + 1 < Text.size(); ++i) {
        if (Text[i] != '&')
            continue;
        if (Text[i + 1] == '&') {
            ++i;
            continue;
        }
        return std::toupper(static_cast<unsigned char>(Text[i + 1])) ==
               std::toupper(static_cast<unsigned char>(Character));
    }
    return false;
}

TCustomForm *GetParentForm(const TControl *Control)
{
    const TControl *top = Control;
    while (top && top->Parent())
        top = top->Parent();
    return dynamic_cast<TCustomForm *>(const_cast<TControl *>(top));
}

void RequestContextMenu(QWidget *Widget)
{
    // The window takes it as it takes the Menu key's: to the widget with
    // Qt's focus, at its caret or middle.
    QWindow *window = Widget->window()->windowHandle();
    if (!window)
        return;
    const QPoint at = QCursor::pos();
    QContextMenuEvent request(QContextMenuEvent::Keyboard, window->mapFromGlobal(at), at,
                              QGuiApplication::keyboardModifiers());
    QCoreApplication::sendEvent(window, &request);
}

TControl *FindControlAt(TPoint ScreenPos)
{
    for (QWidget *w = QApplication::widgetAt(QPoint(ScreenPos.X, ScreenPos.Y)); w;
         w = w->parentWidget())
        if (auto control = dynamic_cast<TControl *>(w))
            return control;
    return nullptr;
}

void ReleaseCapture()
{
    if (QWidget *grabber = QWidget::mouseGrabber())
        grabber->releaseMouse();
}

namespace {
TWindowMoveStarter MoveStarter;
} // namespace

TWindowMoveStarter SetWindowMoveStarter(TWindowMoveStarter Starter)
{
    return std::exchange(MoveStarter, std::move(Starter));
}

void StartWindowMove(TWinControl *Window)
{
    if (!Window)
        return;
    if (MoveStarter) {
        MoveStarter(Window);
        return;
    }
    QWidget *top = Window->window();
    if (QWindow *handle = top->windowHandle(); handle && handle->startSystemMove())
        return;
    ActiveMove.Window = top;
    ActiveMove.Origin = QCursor::pos();
    ActiveMove.StartPos = top->pos();
}

// ---------------------------------------------------------------- TControl

TControl::TControl(TComponent *AOwner) : QWidget(nullptr), TComponent(AOwner)
{
    setMouseTracking(true);
    setFocusPolicy(Qt::NoFocus);
    // The picture covers the whole control (transparency is a copy of what
    // lies beneath), so Qt need not paint the parent under it.
    setAttribute(Qt::WA_OpaquePaintEvent);
    FFont.OnChange = [this](TObject *) { FontChanged(); };
    FBacking.OnChange = [this](TObject *) {
        ++FSerial;
        // Drawing outside any paint shows at the next screen update; what a
        // paint draws is shown by that paint, and must not ask for another.
        if (PaintDepth == 0) {
            QWidget::update();
            NotifyReaders();
        }
    };
}

TControl::~TControl()
{
    delete FActionLink;
    FActionLink = nullptr;
    if (ActiveMove.Window == this)
        ActiveMove.Window = nullptr;
    // Children outliving this body must not reach back into it.
    for (TControl *child : ChildControls(this))
        child->FParent = nullptr;
}

void TControl::SetParent(TWinControl *AParent)
{
    if (FParent == AParent)
        return;
    // Qt drops the focus of a widget that moves: so does the form, as it
    // does for one that leaves it.
    if (FParent)
        GiveUpFocus(true);
    FParent = AParent;
    FInvalid = true;
    QWidget::setParent(AParent);
    if (!AParent)
        return;
    QWidget::setGeometry(FLeft, FTop, FWidth, FHeight);
    if (FVisible)
        QWidget::show();
    if (FParentFont)
        TakeParentFont();
    if (FParentColor)
        TakeParentColor();
    if (auto windowed = dynamic_cast<TWinControl *>(this); windowed && AParent->HandleAllocated())
        windowed->HandleNeeded();
}

void TControl::SetName(const std::string &Value)
{
    bool changeText = (FControlStyle & csSetCaption) && !IsLoading() && Name() == FCaption;
    if (auto owner = dynamic_cast<TControl *>(Owner()); owner && owner->IsLoading())
        changeText = false;
    TComponent::SetName(Value);
    if (changeText)
        SetCaption(Value);
}

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    AWidth = std::max(AWidth, 0);
    AHeight = std::max(AHeight, 0);
    bool sized = AWidth != FWidth || AHeight != FHeight;
    bool moved = ALeft != FLeft || ATop != FTop;
    // The picture of the new size first: a size that cannot be had leaves
    // the control as it was.
    if (sized)
        FBacking.SetSize(AWidth, AHeight);
    FLeft = ALeft;
    FTop = ATop;
    FWidth = AWidth;
    FHeight = AHeight;
    if (isWindow())
        QWidget::setGeometry(QWidget::x(), QWidget::y(), AWidth, AHeight);
    else
        QWidget::setGeometry(ALeft, ATop, AWidth, AHeight);
    if (isWindow() && moved)
        QWidget::move(ALeft, ATop);
    // A graphic control shows what lies beneath it, which a move changes;
    // a control that read this one's picture painted it where it was.
    // Qt carries an opaque widget's old pixels along to the new place.
    if (moved && !dynamic_cast<TWinControl *>(this)) {
        FInvalid = true;
        if (!FInPaint)
            QWidget::update();
    }
    if (moved && !sized)
        PictureMoved();
    if (sized) {
        FInvalid = true;
        auto windowed = dynamic_cast<TWinControl *>(this);
        if (!windowed || windowed->HandleAllocated())
            WMSize(ClientWidth(), ClientHeight());
    }
    if (moved)
        WMMove();
}

void TControl::resizeEvent(QResizeEvent *Event)
{
    QWidget::resizeEvent(Event);
    if (width() != FWidth || height() != FHeight)
        Guarded(this, [&] { SetBounds(FLeft, FTop, width(), height()); });
}

void TControl::moveEvent(QMoveEvent *Event)
{
    QWidget::moveEvent(Event);
    if (x() != FLeft || y() != FTop) {
        FLeft = x();
        FTop = y();
        Guarded(this, [&] { WMMove(); });
    }
}

void TControl::WMSize(int, int)
{
    Resize();
}

void TControl::Resize()
{
    if (OnResize)
        OnResize(this);
}

TPoint TControl::ClientToScreen(TPoint P) const
{
    QPoint g = mapToGlobal(QPoint(P.X, P.Y));
    return {g.x(), g.y()};
}

TPoint TControl::ScreenToClient(TPoint P) const
{
    QPoint l = mapFromGlobal(QPoint(P.X, P.Y));
    return {l.x(), l.y()};
}

void TControl::PictureMoved()
{
    ++FSerial;
    NotifyReaders();
}

void TControl::SetVisible(bool Value)
{
    if (FVisible == Value)
        return;
    if (!Value)
        GiveUpFocus();
    FVisible = Value;
    // What a control draws may depend on whether it shows; a control that
    // painted this one over its own picture must leave it out or take it in.
    if (Value)
        FInvalid = true;
    PictureMoved();
    if (FParent) {
        QWidget::setVisible(Value);
    } else if (dynamic_cast<TCustomForm *>(this)) {
        if (Value)
            static_cast<TWinControl *>(this)->HandleNeeded();
        QWidget::setVisible(Value);
    }
    CMVisibleChanged();
}

void TControl::GiveUpFocus(bool Removing)
{
    // A form hidden keeps its focused control for when it shows again.
    if (TCustomForm *form = GetParentForm(this); form && form != this)
        form->DefocusControl(this, Removing);
}

void TControl::SetEnabled(bool Value)
{
    if (FEnabled == Value)
        return;
    if (!Value)
        GiveUpFocus();
    FEnabled = Value;
    QWidget::setEnabled(Value);
    CMEnabledChanged();
}

void TControl::SetColor(TColor Value)
{
    FParentColor = false;
    if (FColor == Value)
        return;
    FColor = Value;
    CMColorChanged();
    PassColorToChildren();
}

void TControl::PassColorToChildren()
{
    for (TControl *child : ChildControls(this))
        if (child->FParentColor)
            child->TakeParentColor();
}

void TControl::SetParentColor(bool Value)
{
    FParentColor = Value;
    if (Value && FParent)
        TakeParentColor();
}

void TControl::TakeParentColor()
{
    if (!FParent)
        return;
    bool changed = FColor != FParent->Color();
    FColor = FParent->Color();
    CMParentColorChanged();
    if (changed)
        PassColorToChildren();
}

void TControl::SetParentFont(bool Value)
{
    FParentFont = Value;
    if (Value && FParent)
        TakeParentFont();
}

void TControl::TakeParentFont()
{
    if (!FParent)
        return;
    FTakingParentFont = true;
    FFont.Assign(FParent->Font());
    FTakingParentFont = false;
    CMParentFontChanged();
}

void TControl::FontChanged()
{
    if (!FTakingParentFont)
        FParentFont = false;
    CMFontChanged();
    for (TControl *child : ChildControls(this))
        if (child->FParentFont)
            child->TakeParentFont();
}

void TControl::SetCaption(const std::string &Value)
{
    if (FCaption == Value)
        return;
    FCaption = Value;
    if (isWindow())
        setWindowTitle(FromAnsi(Value));
    CMTextChanged();
}

void TControl::SetHint(const std::string &Value)
{
    FHint = Value;
    setToolTip(FShowHint ? FromAnsi(Value) : QString());
}

void TControl::SetShowHint(bool Value)
{
    FShowHint = Value;
    SetHint(FHint);
}

void TControl::SetCursor(TCursor Value)
{
    FCursor = Value;
    setCursor(CursorShape(Value));
}

void TControl::Invalidate()
{
    // A paint that invalidates its own control would paint for ever.
    if (FInPaint)
        return;
    FInvalid = true;
    QWidget::update();
}

void TControl::Repaint()
{
    if (FInPaint)
        return;
    PaintControl();
    QWidget::update();
}

void TControl::Update()
{
    if (PictureStale())
        Repaint();
}

bool TControl::PictureStale() const
{
    if (!FPainted || FInvalid || FBacking.Width() != FWidth || FBacking.Height() != FHeight)
        return true;
    // A cycle of sources cannot make a picture stale.
    if (FCheckingStale)
        return false;
    FCheckingStale = true;
    bool stale = false;
    for (const TPictureSource &source : FSources)
        if (!source.Control || source.Control->FSerial != source.Serial ||
            source.Control->PictureStale()) {
            stale = true;
            break;
        }
    FCheckingStale = false;
    return stale;
}

void TControl::NoteReadBy()
{
    TControl *reader = PaintingControl;
    if (!reader || reader == this)
        return;
    if (std::find(FReaders.begin(), FReaders.end(), reader) == FReaders.end())
        FReaders.emplace_back(reader);
    for (TPictureSource &source : reader->FSources)
        if (source.Control == this) {
            source.Serial = FSerial;
            return;
        }
    reader->FSources.push_back({this, FSerial});
}

void TControl::NotifyReaders()
{
    // Qt leaves an opaque widget alone when what lies beneath it repaints,
    // so a control painted from this picture is told here.
    std::erase_if(FReaders, [this](const QPointer<TControl> &reader) {
        if (!reader)
            return true;
        const auto &sources = reader->FSources;
        return std::none_of(sources.begin(), sources.end(),
                            [this](const TPictureSource &s) { return s.Control == this; });
    });
    for (const QPointer<TControl> &reader : FReaders)
        if (!reader->FInPaint)
            reader->QWidget::update();
}

void TControl::EnsurePainted()
{
    if (PictureStale())
        PaintControl();
    NoteReadBy();
}

void TControl::PaintControl()
{
    if (FWidth <= 0 || FHeight <= 0)
        return;
    TControl *outer = PaintingControl;
    PaintingControl = this;
    ++PaintDepth;
    struct TRestore {
        TControl *Self, *Outer;
        ~TRestore()
        {
            Self->FInPaint = false;
            PaintingControl = Outer;
            --PaintDepth;
        }
    } restore{this, outer};
    FSources.clear();
    if (FBacking.Width() != FWidth || FBacking.Height() != FHeight)
        FBacking.SetSize(FWidth, FHeight);
    const bool windowed = dynamic_cast<TWinControl *>(this) != nullptr;
    const int width = FWidth, height = FHeight;
    if (!(FControlStyle & csOpaque)) {
        // A windowed control erases with its own colour; a graphic control
        // shows what its parent painted beneath it.
        if (windowed || !FParent) {
            FillImage(FBacking, FColor);
        } else {
            FParent->EnsurePainted();
            FillImage(FBacking, FParent->Color());
            BitBlt(Canvas(), 0, 0, FWidth, FHeight, FParent->Canvas(), FLeft, FTop, SRCCOPY);
        }
    }
    // A graphic control is drawn as part of its parent's picture, so a new
    // picture of the parent repaints it, opaque or not. A parent the screen
    // never shows (its children cover it) is painted here, or the child's
    // picture would stay stale for ever.
    if (!windowed && FParent)
        FParent->EnsurePainted();
    FInPaint = true;
    Paint();
    // A control that sized itself while painting painted part of its new
    // area over nothing; it paints once more at its new size.
    const bool resized = FWidth != width || FHeight != height;
    FInvalid = resized;
    FPainted = true;
    if (resized)
        QWidget::update();
    NotifyReaders();
}

void TControl::paintEvent(QPaintEvent *Event)
{
    const bool rebuild = PictureStale();
    if (rebuild) {
        try {
            PaintControl();
        } catch (...) {
            // The picture stays as far as the paint got, and the paint is not
            // tried again until the control changes. The error is told once
            // the paint is over: a message box inside a paint would paint again.
            FInvalid = false;
            FPainted = true;
            QMetaObject::invokeMethod(
                qApp,
                [error = std::current_exception(), self = QPointer<TControl>(this)] {
                    Guarded(self.data(), [&] { std::rethrow_exception(error); });
                },
                Qt::QueuedConnection);
        }
    }
    QPainter painter(this);
    for (const QRect &r : Event->region())
        painter.drawImage(r.topLeft(), FBacking.Image(), r);
    // A new picture must reach all of the control, not only the part asked
    // for; one that is stale still would only ask again, for ever.
    if (rebuild && !PictureStale()) {
        QRegion rest = QRegion(rect()) - Event->region();
        if (!rest.isEmpty())
            QWidget::update(rest);
    }
}

void TControl::PaintTo(TCanvas *Dest, int X, int Y)
{
    EnsurePainted();
    const QRegion *outer = Dest->ClipRegion();
    QRegion saved = outer ? *outer : QRegion();
    bool hadClip = outer != nullptr;
    QRegion clip(QRect(X, Y, FWidth, FHeight));
    if (hadClip)
        clip &= saved;
    if (auto windowed = dynamic_cast<TWinControl *>(this); windowed && windowed->WindowRegion())
        clip &= windowed->WindowRegion()->ToQRegion().translated(X, Y);
    TRegion region(clip);
    Dest->SelectClipRgn(&region);
    BitBlt(Dest, X, Y, FWidth, FHeight, Canvas(), 0, 0, SRCCOPY);
    if (auto windowed = dynamic_cast<TWinControl *>(this))
        for (TControl *child : windowed->Controls())
            if (child->Visible())
                child->PaintTo(Dest, X + child->Left(), Y + child->Top());
    TRegion previous(saved);
    Dest->SelectClipRgn(hadClip ? &previous : nullptr);
}

bool TControl::MouseCapture() const
{
    return QWidget::mouseGrabber() == this;
}

void TControl::SetMouseCapture(bool Value)
{
    if (Value && isVisible())
        grabMouse();
    else if (!Value && MouseCapture())
        releaseMouse();
}

void TControl::HandleMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y, bool Double)
{
    bool doubleClick = Double && (FControlStyle & csDoubleClicks);
    if (Button == mbLeft) {
        // The platform's controls take the focus before they see the press.
        if (auto *windowed = dynamic_cast<TWinControl *>(this))
            windowed->PressFocus();
        if (FControlStyle & csCaptureMouse)
            SetMouseCapture(true);
        if (FControlStyle & csClickEvents) {
            FClicked = true;
            if (doubleClick)
                DblClick();
        }
    }
    MouseDown(Button, doubleClick ? Shift | ssDouble : Shift, X, Y);
}

void TControl::HandleMouseMove(TShiftState Shift, int X, int Y)
{
    if (ActiveMove.Window && (Shift & ssLeft)) {
        QPoint pointer = mapToGlobal(QPoint(X, Y));
        ActiveMove.Window->move(ActiveMove.StartPos + pointer - ActiveMove.Origin);
    }
    MouseMove(Shift, X, Y);
}

void TControl::HandleMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft) {
        ActiveMove.Window = nullptr;
        if (FControlStyle & csCaptureMouse)
            SetMouseCapture(false);
        if (FClicked) {
            FClicked = false;
            if (ClientRect().Contains(X, Y))
                Click();
        }
    }
    MouseUp(Button, Shift, X, Y);
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (OnMouseDown)
        OnMouseDown(this, Button, Shift, X, Y);
}

void TControl::MouseMove(TShiftState Shift, int X, int Y)
{
    if (OnMouseMove)
        OnMouseMove(this, Shift, X, Y);
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (OnMouseUp)
        OnMouseUp(this, Button, Shift, X, Y);
}

void TControl::Click()
{
    if (OnClick)
        OnClick(this);
    else if (FActionLink)
        FActionLink->Execute(this);
}

TBasicAction *TControl::Action() const
{
    return FActionLink ? FActionLink->Action() : nullptr;
}

void TControl::SetAction(TBasicAction *Value)
{
    if (!Value) {
        delete FActionLink;
        FActionLink = nullptr;
        FControlStyle &= ~csActionClient;
        return;
    }
    FControlStyle |= csActionClient;
    if (!FActionLink)
        FActionLink = GetActionLinkClass()(this);
    FActionLink->SetAction(Value);
    FActionLink->OnChange = [this](TObject *Sender) {
        if (Sender == Action())
            ActionChange(Sender, false);
    };
    ActionChange(Value, Value->IsLoading());
    Value->FreeNotification(this);
}

void TControl::ActionChange(TObject *Sender, bool CheckDefaults)
{
    auto action = dynamic_cast<TCustomAction *>(Sender);
    if (!action)
        return;
    if (!CheckDefaults || FCaption.empty() || FCaption == Name())
        SetCaption(action->Caption());
    if (!CheckDefaults || FEnabled)
        SetEnabled(action->Enabled());
    if (!CheckDefaults || FHint.empty())
        SetHint(action->Hint());
    if (!CheckDefaults || FVisible)
        SetVisible(action->Visible());
}

TControlActionLinkClass TControl::GetActionLinkClass() const
{
    return &NewActionLink<TControlActionLink>;
}

void TControl::Notification(TComponent *AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent && AComponent == Action())
        SetAction(nullptr);
    if (Operation == opRemove && AComponent && AComponent == FPopupMenu)
        FPopupMenu = nullptr;
}

void TControl::SetPopupMenu(TPopupMenu *Value)
{
    if (Value == FPopupMenu)
        return;
    if (FPopupMenu)
        FPopupMenu->RemoveFreeNotification(this);
    FPopupMenu = Value;
    if (Value)
        Value->FreeNotification(this);
}

void TControl::DblClick()
{
    if (OnDblClick)
        OnDblClick(this);
}

void TControl::HandleQtMouseEvent(const QMouseEvent &Event, QPoint P)
{
    const TShiftState shift = ShiftFromMouse(&Event);
    if (Event.type() == QEvent::MouseMove) {
        // While a button is held the moves keep coming here wherever the
        // pointer goes, and the window system tells of no crossing: the
        // control sees the pointer leave and come back itself.
        if (Event.buttons() != Qt::NoButton) {
            const bool inside = ClientRect().Contains(P.x(), P.y());
            if (inside != FMouseInside)
                Guarded(this, [&] {
                    if (inside)
                        HandleMouseEnter();
                    else
                        HandleMouseLeave();
                });
        }
        Guarded(this, [&] { HandleMouseMove(shift, P.x(), P.y()); });
        return;
    }
    TMouseButton button;
    if (!MouseButton(Event.button(), button))
        return;
    switch (Event.type()) {
    case QEvent::MouseButtonPress:
        Guarded(this, [&] { HandleMouseDown(button, shift, P.x(), P.y()); });
        break;
    case QEvent::MouseButtonDblClick:
        Guarded(this, [&] { HandleMouseDown(button, shift, P.x(), P.y(), true); });
        break;
    case QEvent::MouseButtonRelease:
        Guarded(this, [&] { HandleMouseUp(button, shift, P.x(), P.y()); });
        break;
    default: break;
    }
}

void TControl::mousePressEvent(QMouseEvent *Event)
{
    HandleQtMouseEvent(*Event, Event->position().toPoint());
}

void TControl::mouseDoubleClickEvent(QMouseEvent *Event)
{
    HandleQtMouseEvent(*Event, Event->position().toPoint());
}

void TControl::mouseMoveEvent(QMouseEvent *Event)
{
    HandleQtMouseEvent(*Event, Event->position().toPoint());
}

void TControl::mouseReleaseEvent(QMouseEvent *Event)
{
    HandleQtMouseEvent(*Event, Event->position().toPoint());
}

void TControl::enterEvent(QEnterEvent *)
{
    Guarded(this, [&] { HandleMouseEnter(); });
}

void TControl::leaveEvent(QEvent *)
{
    Guarded(this, [&] { HandleMouseLeave(); });
}

void TControl::contextMenuEvent(QContextMenuEvent *Event)
{
    // Without a menu of its own the request goes on to the parent.
    if (!FPopupMenu) {
        Event->ignore();
        return;
    }
    Event->accept();
    FPopupMenu->PopupComponent = this;
    Guarded(this, [&] { FPopupMenu->Popup(Event->globalPos().x(), Event->globalPos().y()); });
}

TGraphicControl::TGraphicControl(TComponent *AOwner) : TControl(AOwner) {}

// ---------------------------------------------------------------- TWinControl

TWinControl::TWinControl(TComponent *AOwner) : TControl(AOwner)
{
    FControlStyle |= csAcceptsControls;
}

TWinControl::~TWinControl()
{
    // The focused control may lie inside this one: its own destructor
    // will find no form once this one has let go of its children.
    GiveUpFocus(true);
}

TControlActionLinkClass TWinControl::GetActionLinkClass() const
{
    return &NewActionLink<TWinControlActionLink>;
}

void TWinControl::HandleNeeded()
{
    if (!FHandleAllocated)
        CreateHandle();
}

void TWinControl::CreateHandle()
{
    FHandleAllocated = true;
    WMSize(ClientWidth(), ClientHeight());
    for (TControl *child : Controls())
        if (auto windowed = dynamic_cast<TWinControl *>(child))
            windowed->HandleNeeded();
}

bool TWinControl::CanFocus() const
{
    // The form's own state does not count: a hidden form keeps its focused
    // control for when it shows.
    const TCustomForm *form = GetParentForm(this);
    if (!form)
        return false;
    for (const TControl *c = this; c != form; c = c->Parent())
        if (!c->Visible() || !c->Enabled())
            return false;
    return true;
}

void TWinControl::SetFocus()
{
    TCustomForm *form = GetParentForm(this);
    if (!form) {
        QWidget::setFocus(Qt::OtherFocusReason);
        return;
    }
    form->SetActiveControl(this);
    // As the platform's focus call does, the control's window becomes the
    // active one, so the keys follow even from a modeless dialog that had
    // them. A press needs no such step: the window system activates the
    // window that a click lands in.
    if (!FocusingByPress() && form->isVisible() && !form->isActiveWindow())
        form->activateWindow();
}

bool TWinControl::Focused() const
{
    TCustomForm *form = GetParentForm(this);
    return form && form->FActiveControl == this;
}

namespace {
bool PressFocusing = false;

void CollectTabStops(const TWinControl *Parent, std::vector<TWinControl *> &Result)
{
    std::vector<TControl *> children = Parent->Controls();
    std::stable_sort(children.begin(), children.end(), [](TControl *a, TControl *b) {
        auto wa = dynamic_cast<TWinControl *>(a), wb = dynamic_cast<TWinControl *>(b);
        return (wa ? wa->TabOrder : 0) < (wb ? wb->TabOrder : 0);
    });
    for (TControl *child : children)
        if (auto windowed = dynamic_cast<TWinControl *>(child)) {
            if (windowed->TabStop() && windowed->CanFocus())
                Result.push_back(windowed);
            CollectTabStops(windowed, Result);
        }
}
} // namespace

void TWinControl::PressFocus()
{
    if (FocusOnPress() && !Focused() && CanFocus()) {
        QScopedValueRollback<bool> pressing(PressFocusing, true);
        SetFocus();
    }
}

bool TWinControl::FocusingByPress()
{
    return PressFocusing;
}

TWinControl *TWinControl::FindNextControl(TWinControl *Current, bool Forward) const
{
    std::vector<TWinControl *> stops;
    CollectTabStops(this, stops);
    return NextInRing(stops, Current, Forward);
}

bool TWinControl::SelectFirst()
{
    TWinControl *first = FindNextControl(nullptr, true);
    if (!first)
        return false;
    first->SetFocus();
    return true;
}

bool TControl::ContainsControl(const TControl *Control) const
{
    for (; Control; Control = Control->Parent())
        if (Control == this)
            return true;
    return false;
}

void TWinControl::SetWindowRgn(const TRegion *Region, bool Redraw)
{
    FHasRegion = Region != nullptr;
    FRegion = Region ? *Region : TRegion();
    if (FHasRegion)
        setMask(FRegion.ToQRegion());
    else
        clearMask();
    if (Redraw)
        Invalidate();
}

std::vector<TControl *> TWinControl::Controls() const
{
    std::vector<TControl *> result = ChildControls(this);
    std::erase_if(result, [this](TControl *control) { return control->Parent() != this; });
    return result;
}

void TWinControl::CMDialogKey(TCMDialogKey &Message)
{
    for (TControl *child : Controls()) {
        child->CMDialogKey(Message);
        if (Message.Result)
            return;
    }
}

void TWinControl::CMDialogChar(TCMDialogKey &Message)
{
    for (TControl *child : Controls()) {
        child->CMDialogChar(Message);
        if (Message.Result)
            return;
    }
}

void TWinControl::CMFocusChanged(TWinControl *Focused)
{
    for (TControl *child : Controls())
        child->CMFocusChanged(Focused);
}

bool TWinControl::HandleKeyDown(uint16_t Key, TShiftState Shift)
{
    TCustomForm *form = GetParentForm(this);
    bool dialogKey =
        Key == VK_TAB || Key == VK_RETURN || Key == VK_ESCAPE || (Key >= VK_LEFT && Key <= VK_DOWN);
    if (form && dialogKey && !WantsKey(Key) && form->DialogKey(Key, Shift))
        return false;
    if (form && form != this && form->KeyPreview) {
        static_cast<TWinControl *>(form)->KeyDown(Key, Shift);
        if (Key == 0)
            return false;
    }
    KeyDown(Key, Shift);
    if (Key == VK_F10 && (Shift & (ssShift | ssCtrl | ssAlt)) == ssShift) {
        RequestContextMenu(this);
        return false;
    }
    return Key != 0;
}

void TWinControl::HandleKeyUp(uint16_t Key, TShiftState Shift)
{
    TCustomForm *form = GetParentForm(this);
    if (form && form != this && form->KeyPreview) {
        static_cast<TWinControl *>(form)->KeyUp(Key, Shift);
        if (Key == 0)
            return;
    }
    KeyUp(Key, Shift);
}

void TWinControl::HandleKeyPress(char Key, TShiftState Shift)
{
    TCustomForm *form = GetParentForm(this);
    if (Shift & ssAlt) {
        if (form)
            form->DialogChar(Key, Shift);
        return;
    }
    if (form && form != this && form->KeyPreview) {
        static_cast<TWinControl *>(form)->KeyPress(Key);
        if (Key == 0)
            return;
    }
    KeyPress(Key);
    if (Key != 0 && !WantsChars() && form)
        form->DialogChar(Key, Shift);
}

void TWinControl::KeyDown(uint16_t &Key, TShiftState Shift)
{
    if (OnKeyDown)
        OnKeyDown(this, Key, Shift);
}

void TWinControl::KeyUp(uint16_t &Key, TShiftState Shift)
{
    if (OnKeyUp)
        OnKeyUp(this, Key, Shift);
}

void TWinControl::KeyPress(char &Key)
{
    if (OnKeyPress)
        OnKeyPress(this, Key);
}

void TWinControl::DoEnter()
{
    if (OnEnter)
        OnEnter(this);
}

void TWinControl::DoExit()
{
    if (OnExit)
        OnExit(this);
}

void TWinControl::keyPressEvent(QKeyEvent *Event)
{
    TShiftState shift = ShiftFromModifiers(Event->modifiers());
    uint16_t key = VirtualKey(Event->key(), Event->modifiers());
    Guarded(this, [&] {
        if (key)
            HandleKeyDown(key, shift);
        std::string text = ToAnsi(Event->text());
        if (const char system = SystemCharOf(*Event))
            HandleKeyPress(system, shift);
        else if (!(shift & ssCtrl) && text.size() == 1 && static_cast<unsigned char>(text[0]) >= 32)
            HandleKeyPress(text[0], shift);
    });
}

void TWinControl::keyReleaseEvent(QKeyEvent *Event)
{
    if (Event->isAutoRepeat())
        return;
    uint16_t key = VirtualKey(Event->key(), Event->modifiers());
    if (key)
        Guarded(this, [&] { HandleKeyUp(key, ShiftFromModifiers(Event->modifiers())); });
}

void TWinControl::focusInEvent(QFocusEvent *Event)
{
    QWidget::focusInEvent(Event);
    TCustomForm *form = GetParentForm(this);
    if (form && form != this && form->FActiveControl != this)
        Guarded(this, [&] { form->FocusControl(this); });
}
