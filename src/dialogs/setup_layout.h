#pragma once
// Shared by the settings dialog's page files: adding a control in one call,
// and the check-box mapping of a field.
#include <cstdint>

#include "ui/form.h"

namespace orv::setup_layout {

inline Control& Put(Form& form, ControlKind kind, const char* name, int index, Control* container,
                    TwipsRect bounds, const char* caption = "", const char* toolTip = "") {
    Control& c = form.Add(kind, name, index, container);
    c.SetBounds(bounds);
    c.SetCaption(caption);
    c.SetToolTip(toolTip);
    return c;
}

inline Control& Heading(Form& form, const char* name, Control* container, TwipsRect bounds,
                        const char* caption) {
    Control& c = Put(form, ControlKind::Label, name, -1, container, bounds, caption);
    FontStyle bold;
    bold.bold = true;
    c.SetFont(bold);
    return c;
}

// A check field shows 0 and 1 as they are. Any other value greys the box, and
// a grey box gives the field back untouched, so values no box can show pass
// through OK unchanged unless the user clicks the box.
inline int CheckShown(int16_t value) {
    return value == 0 ? 0 : value == 1 ? 1 : 2;
}
inline void ShowCheck(Control& box, int16_t value) {
    box.SetValue(CheckShown(value));
}
inline void TakeCheck(const Control& box, int16_t& field) {
    if (box.value() != 2) field = static_cast<int16_t>(box.value());
}

}  // namespace orv::setup_layout
