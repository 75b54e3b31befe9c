#include "ui/control.h"

#include "platform/error.h"
#include "platform/strings.h"
#include "ui/form.h"

namespace orv {

namespace {

bool IsList(ControlKind k) {
    return k == ControlKind::DropDownList || k == ControlKind::EditableCombo ||
           k == ControlKind::TabStrip;
}

}  // namespace

Control::Control(Form& form, int id, ControlKind kind, std::string name, int index,
                 Control* container)
    : form_(form), id_(id), container_(container) {
    s_.kind = kind;
    s_.name = std::move(name);
    s_.index = index;
    s_.container = container ? container->id() : -1;
    // Boxes the user types into or picks from look like windows, the rest
    // like the dialog around them.
    if (kind == ControlKind::TextBox || kind == ControlKind::DropDownList ||
        kind == ControlKind::EditableCombo) {
        s_.foreColour = platform::colour::kWindowText;
        s_.backColour = platform::colour::kWindow;
    }
}

bool Control::Reachable() const {
    for (const Control* c = this; c; c = c->container_)
        if (!c->s_.enabled || !c->s_.visible) return false;
    return true;
}

void Control::Changed() {
    form_.ControlChanged(*this);
}

void Control::Raise(const std::function<void()>& handler) {
    if (handler) handler();
}

void Control::SetCaption(std::string caption) {
    if (caption == s_.caption) return;
    s_.caption = std::move(caption);
    Changed();
}

void Control::SetText(std::string text) {
    if (s_.kind == ControlKind::DropDownList) {
        // A list without typing can only show one of its entries.
        for (std::size_t i = 0; i < s_.list.size(); ++i)
            if (s_.list[i] == text) return SetListIndex(static_cast<int>(i));
        throw err::InvalidCall();
    }
    if (s_.maxLength && Utf16Length(text) > s_.maxLength)
        text = std::string(Utf16Prefix(text, s_.maxLength));
    if (text == s_.text) return;
    s_.text = std::move(text);
    if (s_.kind == ControlKind::EditableCombo) {
        s_.listIndex = -1;
        for (std::size_t i = 0; i < s_.list.size(); ++i)
            if (s_.list[i] == s_.text) s_.listIndex = static_cast<int>(i);
    }
    Changed();
    Raise(onChange);
}

void Control::SetToolTip(std::string tip) {
    if (tip == s_.toolTip) return;
    s_.toolTip = std::move(tip);
    Changed();
}

void Control::SetValue(int value) {
    switch (s_.kind) {
        case ControlKind::CheckBox:
            if (value < 0 || value > 2) throw err::InvalidCall();
            if (value == s_.value) return;
            s_.value = value;
            Changed();
            Raise(onClick);
            return;
        case ControlKind::OptionButton:
            if (value == 0) {
                if (s_.value == 0) return;
                s_.value = 0;
                Changed();
                return;
            }
            if (s_.value != 0) return;
            // One option of a container is selected at a time.
            for (const auto& other : form_.controls())
                if (other.get() != this && other->s_.kind == ControlKind::OptionButton &&
                    other->container_ == container_ && other->s_.value != 0) {
                    other->s_.value = 0;
                    other->Changed();
                }
            s_.value = 1;
            Changed();
            Raise(onClick);
            return;
        default:
            if (value == s_.value) return;
            s_.value = value;
            Changed();
            if (s_.kind == ControlKind::Spin) Raise(onChange);
            return;
    }
}

void Control::SetEnabled(bool on) {
    if (on == s_.enabled) return;
    s_.enabled = on;
    Changed();
}

void Control::SetVisible(bool on) {
    if (on == s_.visible) return;
    s_.visible = on;
    Changed();
}

void Control::SetForeColour(uint32_t colour) {
    if (colour == s_.foreColour) return;
    s_.foreColour = colour;
    Changed();
}

void Control::SetBackColour(uint32_t colour) {
    if (colour == s_.backColour) return;
    s_.backColour = colour;
    Changed();
}

void Control::SetFont(FontStyle font) {
    if (font == s_.font) return;
    s_.font = std::move(font);
    Changed();
}

void Control::SetAlignment(Alignment alignment) {
    if (alignment == s_.alignment) return;
    s_.alignment = alignment;
    Changed();
}

void Control::SetBounds(TwipsRect bounds) {
    if (bounds == s_.bounds) return;
    s_.bounds = bounds;
    Changed();
}

void Control::SetReadOnly(bool on) {
    if (on == s_.readOnly) return;
    s_.readOnly = on;
    Changed();
}

void Control::SetMaxLength(std::size_t units) {
    if (units == s_.maxLength) return;
    s_.maxLength = units;
    Changed();
    if (units && Utf16Length(s_.text) > units) SetText(s_.text);
}

void Control::SetBorder(bool on) {
    if (on == s_.border) return;
    s_.border = on;
    Changed();
}

void Control::SetDefault(bool on) {
    if (on == s_.isDefault) return;
    // Enter presses one button only.
    if (on)
        for (const auto& other : form_.controls())
            if (other.get() != this && other->s_.isDefault) {
                other->s_.isDefault = false;
                other->Changed();
            }
    s_.isDefault = on;
    Changed();
}

void Control::SetCancel(bool on) {
    if (on == s_.isCancel) return;
    if (on)
        for (const auto& other : form_.controls())
            if (other.get() != this && other->s_.isCancel) {
                other->s_.isCancel = false;
                other->Changed();
            }
    s_.isCancel = on;
    Changed();
}

void Control::ClearList() {
    if (s_.list.empty() && s_.listIndex == -1) return;
    s_.list.clear();
    s_.listToolTips.clear();
    s_.listIndex = -1;
    if (s_.kind == ControlKind::DropDownList) s_.text.clear();
    Changed();
}

void Control::AddItem(std::string entry, std::string toolTip) {
    s_.list.push_back(std::move(entry));
    s_.listToolTips.push_back(std::move(toolTip));
    Changed();
}

void Control::SetListIndex(int index) {
    if (index < -1 || index >= static_cast<int>(s_.list.size())) throw err::InvalidCall();
    if (index == s_.listIndex) return;
    s_.listIndex = index;
    if (s_.kind != ControlKind::TabStrip) s_.text = index < 0 ? std::string() : s_.list[index];
    Changed();
    Raise(onClick);
}

void Control::UserClick() {
    if (!Reachable()) return;
    switch (s_.kind) {
        case ControlKind::CheckBox:
            SetValue(s_.value == 0 ? 1 : 0);
            return;
        case ControlKind::OptionButton:
            SetValue(1);
            return;
        case ControlKind::TextBox:
        case ControlKind::Spin:
            return;
        default:
            if (!IsList(s_.kind)) Raise(onClick);
            return;
    }
}

void Control::UserChoose(int index) {
    if (!Reachable() || !IsList(s_.kind)) return;
    if (index < 0 || index >= static_cast<int>(s_.list.size())) return;
    SetListIndex(index);
}

void Control::UserType(const std::string& text) {
    if (!Reachable() || s_.readOnly) return;
    if (s_.kind != ControlKind::TextBox && s_.kind != ControlKind::EditableCombo) return;
    SetText(text);
}

void Control::UserSpin(int direction) {
    if (!Reachable() || s_.kind != ControlKind::Spin || direction == 0) return;
    if (onSpin) onSpin(direction > 0 ? 1 : -1);
}

}  // namespace orv
