#pragma once
// One control of a window: the state the program gives it, and the handlers
// that the user's actions (or the program setting a value) raise.
#include <functional>
#include <string>
#include <vector>

#include "platform/forms.h"

namespace orv {

using platform::Alignment;
using platform::ControlKind;
using platform::FontStyle;
using platform::TwipsRect;

class Form;

class Control {
  public:
    Control(Form& form, int id, ControlKind kind, std::string name, int index, Control* container);
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    const platform::ControlState& state() const { return s_; }
    int id() const { return id_; }
    Form& form() const { return form_; }
    Control* container() const { return container_; }
    ControlKind kind() const { return s_.kind; }
    const std::string& name() const { return s_.name; }
    int index() const { return s_.index; }
    const std::string& caption() const { return s_.caption; }
    const std::string& text() const { return s_.text; }
    const std::string& toolTip() const { return s_.toolTip; }
    int value() const { return s_.value; }
    const std::vector<std::string>& list() const { return s_.list; }
    int listIndex() const { return s_.listIndex; }
    bool enabled() const { return s_.enabled; }
    bool visible() const { return s_.visible; }
    // Enabled and visible, and so is every frame around it: the user can reach it.
    bool Reachable() const;

    // Changes from the program. The host is told; Click and Change are raised
    // as a user's action would raise them.
    void SetCaption(std::string caption);
    void SetText(std::string text);  // Change; a drop-down list selects the entry
    void SetToolTip(std::string tip);
    void SetValue(int value);  // check box: Click when changed; option: 1 selects
    void SetEnabled(bool on);
    void SetVisible(bool on);
    void SetForeColour(uint32_t colour);
    void SetBackColour(uint32_t colour);
    void SetFont(FontStyle font);
    void SetAlignment(Alignment alignment);
    void SetBounds(TwipsRect bounds);
    void SetReadOnly(bool on);
    void SetMaxLength(
        std::size_t units);  // in UTF-16 units; longer texts are cut before a character
    void SetBorder(bool on);
    void SetDefault(bool on);
    void SetCancel(bool on);
    void ClearList();
    void AddItem(std::string entry, std::string toolTip = {});
    void SetListIndex(int index);  // -1 clears; Click when changed

    // The user's actions; ignored unless Reachable.
    void UserClick();
    void UserChoose(int index);
    void UserType(const std::string& text);
    void UserSpin(int direction);

    std::function<void()> onClick;
    std::function<void()> onChange;
    std::function<void(int direction)> onSpin;

  private:
    void Changed();
    void Raise(const std::function<void()>& handler);

    Form& form_;
    int id_;
    Control* container_;
    platform::ControlState s_;
};

}  // namespace orv
