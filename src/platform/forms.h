#pragma once
// Windows built from control objects. The program keeps each window's state
// in plain records (below); a FormHost renders them and feeds the user's
// actions back through FormEvents. Positions are in twips.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/image.h"
#include "platform/ui.h"

namespace orv::platform {

enum class ControlKind {
    Frame,
    Label,
    TextBox,
    CheckBox,
    OptionButton,
    CommandButton,
    DropDownList,   // choose only
    EditableCombo,  // choose or type
    Spin,           // up-down arrows; the program reacts to each arrow
    TabStrip,       // tabs are the list entries, the selected tab is listIndex
    Picture,
    ImageSurface,  // a picture at one image pixel per screen pixel, with a selection
};

enum class MouseButton { Left, Right, Middle };
enum class MouseAction { Down, Move, Up };

// What an image surface control shows: its picture from the top left corner
// and, while there is one, the selected rectangle (inclusive pixel corners).
struct SurfacePicture {
    const Image* image = nullptr;
    bool hasSelection = false;
    int left = 0, top = 0, right = 0, bottom = 0;
};

enum class Alignment { Left, Right, Center };

// Colours as OLE_COLOR: 0x00BBGGRR, or 0x800000nn for the system colour nn.
namespace colour {
constexpr uint32_t kButtonFace = 0x8000000F;
constexpr uint32_t kButtonText = 0x80000012;
constexpr uint32_t kWindow = 0x80000005;
constexpr uint32_t kWindowText = 0x80000008;
constexpr bool IsSystem(uint32_t c) {
    return (c & 0x80000000u) != 0;
}
}  // namespace colour

struct FontStyle {
    // The system's TrueType dialog face (Tahoma or Segoe UI by system), which
    // stays sharp at any scale where the old bitmap face does not, at the
    // system dialogs' 8 points: 11 pixels at 100 % like the bitmap face's
    // 8.25, and 16 rather than 17 at 150 %, where the texts must still fit
    // controls laid out for the narrower bitmap face.
    std::string face = "MS Shell Dlg 2";
    double points = 8;
    bool bold = false;
    bool operator==(const FontStyle&) const = default;
};

struct TwipsRect {
    int left = 0, top = 0, width = 0, height = 0;
    bool operator==(const TwipsRect&) const = default;
};

struct ControlState {
    ControlKind kind = ControlKind::Label;
    std::string name;
    int index = -1;      // position in a control array, -1 for a lone control
    int container = -1;  // id of the enclosing frame, -1 for the window itself
    std::string caption;
    std::string text;
    std::string toolTip;
    int value = 0;  // check state 0/1, option selected 0/1, spin position
    std::vector<std::string> list;
    std::vector<std::string> listToolTips;  // tab strip: one per tab
    int listIndex = -1;
    bool enabled = true;
    bool visible = true;
    bool readOnly = false;  // text boxes the user cannot type into
    std::size_t maxLength =
        0;               // text boxes and editable combos: most characters (UTF-16 units), 0 none
    bool border = true;  // frames: false draws no box and no caption
    bool isDefault = false;  // Enter presses it
    bool isCancel = false;   // Esc presses it
    uint32_t foreColour = colour::kButtonText;
    uint32_t backColour = colour::kButtonFace;
    FontStyle font;
    Alignment alignment = Alignment::Left;
    TwipsRect bounds;  // relative to the container
};

enum class WindowState { Normal = 0, Minimized = 1, Maximized = 2 };
enum class FormBorder { None, FixedSingle, Sizable, FixedDialog };

struct FormState {
    std::string name;  // the window's class name in the program, e.g. "Popup"
    std::string caption;
    int clientWidth = 4800, clientHeight = 3600;
    FormBorder border = FormBorder::Sizable;
    bool controlBox = true;  // system menu and close box
    bool minButton = true, maxButton = true;
    bool showInTaskbar = true;
    bool centerOnScreen = false;
    bool topmost = false;
    // Maximised, the window spans every monitor rather than one, so that a
    // picture of the whole screen lies on it pixel for pixel.
    bool coversAllScreens = false;
    WindowState windowState = WindowState::Normal;
    bool boundsSet = false;
    TwipsRect bounds;  // outer window on the screen, used when boundsSet
    // bounds (given and reported) are screen pixels instead of twips: for a
    // window laid over the screen's picture, which must not move when the
    // DPI it is converted with changes.
    bool boundsInPixels = false;
    uint32_t backColour = colour::kButtonFace;
};

struct TimerState {
    std::string name;
    int interval = 0;  // milliseconds; 0 never fires
    bool enabled = false;
};

struct WindowPlacement {
    WindowState state = WindowState::Normal;
    TwipsRect bounds;  // the restored (normal) position and size, in the form's bounds unit
    int clientWidth = 0, clientHeight = 0;            // the inside as the window now stands
    int clientPixelWidth = 0, clientPixelHeight = 0;  // the same in pixels
};

// Why a window is closing, as QueryUnload is told.
enum class UnloadMode { ControlMenu = 0, Code = 1 };

// A window as the host sees it. Controls and timers are addressed by their
// position in the window's lists (their id); the lists only grow.
class FormEvents {
  public:
    virtual ~FormEvents() = default;
    virtual const FormState& State() const = 0;
    virtual int ControlCount() const = 0;
    virtual const ControlState& ControlAt(int id) const = 0;
    virtual int TimerCount() const = 0;
    virtual const TimerState& TimerAt(int id) const = 0;

    // The user's actions. The window decides whether they count (a disabled
    // or hidden control ignores them) and raises its handlers.
    virtual void UserClick(int id) = 0;
    virtual void UserChoose(int id, int listIndex) = 0;
    virtual void UserType(int id, const std::string& text) = 0;
    virtual void UserSpin(int id, int direction) = 0;  // +1 up arrow, -1 down arrow
    virtual void UserKeyUp(int vk) = 0;
    virtual void UserClose() = 0;  // the system close box or Alt+F4
    virtual void Moved() = 0;      // resized, moved, minimised or maximised
    virtual void TimerTick(int id) = 0;

    // Image surface controls: what to draw, and the mouse over them in image
    // pixels (a drag outside the control gives coordinates outside the picture).
    virtual SurfacePicture SurfaceAt(int id) const = 0;
    virtual void UserMouse(int id, MouseAction action, MouseButton button, int x, int y) = 0;
};

class FormHost {
  public:
    virtual ~FormHost() = default;
    // Creates the window and its controls, hidden.
    virtual void Load(FormEvents& form) = 0;
    virtual void Unload(FormEvents& form) = 0;
    virtual void Show(FormEvents& form) = 0;
    virtual void Hide(FormEvents& form) = 0;
    // Shows the window and returns when it has been hidden or unloaded.
    virtual void ShowModal(FormEvents& form) = 0;
    virtual void Repaint(FormEvents& form) = 0;   // paints now, without waiting for the loop
    virtual void Activate(FormEvents& form) = 0;  // to the front, with the focus
    virtual void FocusControl(FormEvents& form, int id) = 0;
    // SetWindowPos with HWND_TOPMOST or HWND_NOTOPMOST, SWP_NOMOVE | SWP_NOSIZE.
    virtual void SetTopmost(FormEvents& form, bool on) = 0;
    virtual WindowPlacement Placement(const FormEvents& form) = 0;
    // The window's handle while loaded (0 otherwise), as an owner for boxes.
    virtual WindowId Handle(const FormEvents& form) = 0;

    // The program changed something the window shows.
    virtual void FormChanged(FormEvents& form) = 0;
    virtual void ControlChanged(FormEvents& form, int id) = 0;
    virtual void TimerChanged(FormEvents& form, int id) = 0;
};

}  // namespace orv::platform
