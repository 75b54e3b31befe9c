#pragma once
// The settings dialog's controls as the code refers to them: one member per
// control, typed by its kind, so a misspelt control or a field bound to the
// wrong kind of control does not compile.
#include <array>
#include <cassert>

#include "ui/control.h"

namespace orv {

// A control of one of the given kinds, set once as the dialog is built.
template <ControlKind... Kinds>
class ControlHandle {
  public:
    ControlHandle() = default;
    explicit ControlHandle(Control& c) : c_(&c) { assert(((c.kind() == Kinds) || ...)); }
    Control* operator->() const { return c_; }
    Control& operator*() const { return *c_; }

  private:
    Control* c_ = nullptr;
};

using TabStrip = ControlHandle<ControlKind::TabStrip>;
using Frame = ControlHandle<ControlKind::Frame>;
using Button = ControlHandle<ControlKind::CommandButton>;
using Label = ControlHandle<ControlKind::Label>;
using CheckBox = ControlHandle<ControlKind::CheckBox>;
using OptionButton = ControlHandle<ControlKind::OptionButton>;
using TextField = ControlHandle<ControlKind::TextBox, ControlKind::EditableCombo>;  // typed text
using ListBox = ControlHandle<ControlKind::DropDownList>;
using SpinButton = ControlHandle<ControlKind::Spin>;
// Option buttons by the value each stands for.
template <int N>
using Options = std::array<OptionButton, N>;

struct SetupControls {
    // Frame.
    TabStrip TabStrip1;
    std::array<Frame, 4> frMain;  // the pages, by tab
    Button cmdOK, cmdCancel;

    // General page.
    Options<4> obPrintArea;  // by PrintArea value
    Button cmdDefineArea;
    Label lblCoOrd;
    CheckBox cbxOnTheFly;
    ListBox ddlbKey;
    CheckBox cbxGlobalSettings, cbxAutoLoad, cbxShowIcon, cbxHidePopup;

    // Print Options page.
    CheckBox cbxPrintScreen;
    Frame frmPrint;
    ListBox ddlbPrinter;
    Options<2> obOrientation;  // portrait, landscape
    CheckBox cbxGreyscale, cbxNegative, cbxStretchImage, cbxResize, cbxFade;
    TextField tbResize, tbFade, tbPageBorder;  // read-only numbers
    SpinButton udResize, udFade, udPageBorder;
    TextField ddlbHeader, ddlbFooter;

    // Save Options page.
    CheckBox cbxSave;
    Frame frmSave;
    TextField ddlbSaveFilename;
    Options<4> obSaveFormat;
    TextField tbSaveFolder;
    Label lblCounter;

    // About page.
    Label lblAppName, lblVersion;
};

}  // namespace orv
