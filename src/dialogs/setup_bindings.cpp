// The settings dialog's one binding table: which control shows which field,
// and how. Filling the pages and collecting them both walk it.
#include <variant>

#include "dialogs/setup.h"
#include "dialogs/setup_layout.h"
#include "output/printer_lookup.h"
#include "settings/text_convert.h"

namespace orv {

using namespace setup_layout;

namespace {

using C = SetupControls;
using R = SettingsRecord;

// A check box (see CheckShown: a grey box gives the field back untouched).
struct Check {
    CheckBox C::*box;
    int16_t R::*field;
};
// The option of the field's value. A value outside the group leaves the
// group as it is; with none selected the field comes back untouched.
struct Option {
    Options<4> C::*group;
    int16_t R::*field;
};
// Portrait is 1 and landscape 2; a value neither shows clears both, and
// with portrait not selected the field comes back as landscape.
struct PortraitOrLandscape {
    Options<2> C::*group;
    int16_t R::*field;
};
// Typed text, taken back as loading would give it, so OK and Export store
// what the next start reads.
struct Text {
    TextField C::*box;
    std::string R::*field;
};
// A read-only number box: it holds only numbers the dialog wrote.
template <class T>
struct Number {
    TextField C::*box;
    T R::*field;
};
template <class T>
Number(TextField C::*, T R::*) -> Number<T>;
// The capture key list: its entries stand for kCaptureKeys in order.
struct KeyChoice {
    ListBox C::*list;
    int16_t R::*field;
};
// The printer list, filled with the printers there are; the entry shown is taken back.
struct PrinterChoice {
    ListBox C::*list;
    std::string R::*field;
};
// A label that shows the field; only its page's button changes the field.
struct Shown {
    Label C::*label;
    int32_t R::*field;
};

using Binding = std::variant<Check, Option, PortraitOrLandscape, Text, Number<double>,
                             Number<int16_t>, KeyChoice, PrinterChoice, Shown>;

// Page by page. Fields no row names (Enabled, the area's corners, JpgQuality,
// HeaderSize, FooterSize) pass through the dialog as they were, unless a
// button sets them.
constexpr Binding kBindings[] = {
    // General.
    Option{&C::obPrintArea, &R::PrintArea},
    Check{&C::cbxOnTheFly, &R::OnTheFly},
    KeyChoice{&C::ddlbKey, &R::Key},
    Check{&C::cbxGlobalSettings, &R::GlobalSettings},
    Check{&C::cbxShowIcon, &R::ShowIcon},
    Check{&C::cbxHidePopup, &R::HidePopup},
    Check{&C::cbxAutoLoad, &R::AutoLoad},
    // Print Options.
    Check{&C::cbxPrintScreen, &R::PrintScreen},
    PrinterChoice{&C::ddlbPrinter, &R::Printer},
    PortraitOrLandscape{&C::obOrientation, &R::Orientation},
    Check{&C::cbxGreyscale, &R::GreyScale},
    Check{&C::cbxNegative, &R::Negative},
    Check{&C::cbxStretchImage, &R::StretchImage},
    Check{&C::cbxResize, &R::Resize},
    Number{&C::tbResize, &R::ResizeScale},
    Check{&C::cbxFade, &R::Fade},
    Number{&C::tbFade, &R::FadeScale},
    Text{&C::ddlbHeader, &R::Header},
    Text{&C::ddlbFooter, &R::Footer},
    Number{&C::tbPageBorder, &R::PageBorder},
    // Save Options.
    Check{&C::cbxSave, &R::Save},
    Text{&C::ddlbSaveFilename, &R::SaveFileName},
    Option{&C::obSaveFormat, &R::SaveFormat},
    Text{&C::tbSaveFolder, &R::SaveFolder},
    Shown{&C::lblCounter, &R::Counter},
};

struct Fill {
    Context& ctx;
    const C& ui;
    R& s;
    char sep;

    void operator()(const Check& b) const { ShowCheck(*(ui.*b.box), s.*b.field); }
    void operator()(const Option& b) const {
        const int16_t v = s.*b.field;
        const auto& group = ui.*b.group;
        if (v >= 0 && v < static_cast<int>(group.size())) group[v]->SetValue(1);
    }
    void operator()(const PortraitOrLandscape& b) const {
        const auto& [portrait, landscape] = ui.*b.group;
        const int16_t v = s.*b.field;
        if (v == 1) {
            portrait->SetValue(1);
        } else if (v == 2) {
            landscape->SetValue(1);
        } else {
            portrait->SetValue(0);
            landscape->SetValue(0);
        }
    }
    void operator()(const Text& b) const { (ui.*b.box)->SetText(s.*b.field); }
    void operator()(const Number<double>& b) const {
        (ui.*b.box)->SetText(FormatDouble(s.*b.field, sep));
    }
    void operator()(const Number<int16_t>& b) const {
        (ui.*b.box)->SetText(std::to_string(s.*b.field));
    }
    void operator()(const KeyChoice& b) const {
        for (int i = 0; i < static_cast<int>(std::size(kCaptureKeys)); ++i)
            if (s.*b.field == kCaptureKeys[i]) (ui.*b.list)->SetListIndex(i);
    }
    void operator()(const PrinterChoice& b) const {
        // A printer no longer installed is reported here, and the working copy takes the default.
        const PrinterList list = FillPrinterList(ctx, s, false);
        Control& box = *(ui.*b.list);
        box.ClearList();
        for (const auto& entry : list.entries) box.AddItem(entry);
        box.SetListIndex(list.selected);
        box.SetEnabled(list.enabled);
        box.SetBackColour(list.enabled ? kActiveColour : kInactiveColour);
    }
    void operator()(const Shown& b) const { (ui.*b.label)->SetCaption(std::to_string(s.*b.field)); }
};

struct Collect {
    const C& ui;
    R& s;
    char sep;

    void operator()(const Check& b) const { TakeCheck(*(ui.*b.box), s.*b.field); }
    void operator()(const Option& b) const {
        const auto& group = ui.*b.group;
        for (std::size_t i = 0; i < group.size(); ++i)
            if (group[i]->value() != 0) {
                s.*b.field = static_cast<int16_t>(i);
                return;
            }
    }
    void operator()(const PortraitOrLandscape& b) const {
        s.*b.field = (ui.*b.group)[0]->value() != 0 ? 1 : 2;
    }
    void operator()(const Text& b) const { s.*b.field = AsStoredText((ui.*b.box)->text()); }
    void operator()(const Number<double>& b) const {
        if (auto v = ToNumber((ui.*b.box)->text(), sep)) s.*b.field = *v;
    }
    void operator()(const Number<int16_t>& b) const {
        if (auto v = ToWholeNumber((ui.*b.box)->text(), sep, INT16_MIN, INT16_MAX))
            s.*b.field = static_cast<int16_t>(*v);
    }
    void operator()(const KeyChoice& b) const {
        const int key = (ui.*b.list)->listIndex();
        if (key >= 0 && key < static_cast<int>(std::size(kCaptureKeys)))
            s.*b.field = kCaptureKeys[key];
    }
    void operator()(const PrinterChoice& b) const {
        if ((ui.*b.list)->listIndex() >= 0) s.*b.field = (ui.*b.list)->text();
    }
    void operator()(const Shown&) const {}
};

}  // namespace

void Setup::FillControls() {
    FocusGiven = false;
    const Fill fill{ctx_, ui, DialogSettings, ctx_.os.system.DecimalSeparator()};
    for (const Binding& b : kBindings) std::visit(fill, b);
    ShowArea();
    ShowNumberBoxColours();
    FillAboutPage();
}

void Setup::CollectControls() {
    const Collect collect{ui, DialogSettings, ctx_.os.system.DecimalSeparator()};
    for (const Binding& b : kBindings) std::visit(collect, b);
}

}  // namespace orv
