#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/sim/sim_desktop.h"
#include "ui/form.h"

namespace orv {
namespace {

// Two option groups (window and frame), a check box, a button, a text box
// and a drop-down, each recording its handlers in one log.
class Fixture : public ::testing::Test {
  protected:
    sim::SimDesktop desktop;
    sim::SimProcess& process = desktop.StartProcess();
    Form form{process.os().forms, "Probe"};
    std::vector<std::string> log;

    Control& frame = form.Add(ControlKind::Frame, "frGroup");
    Control& win0 = Option("obWin", 0, nullptr);
    Control& win1 = Option("obWin", 1, nullptr);
    Control& fr0 = Option("obFr", 0, &frame);
    Control& fr1 = Option("obFr", 1, &frame);
    Control& check = Logged(form.Add(ControlKind::CheckBox, "cbxProbe"));
    Control& button = Logged(form.Add(ControlKind::CommandButton, "cmdProbe"));
    Control& text = Logged(form.Add(ControlKind::TextBox, "tbProbe"));
    Control& list = Logged(form.Add(ControlKind::DropDownList, "ddlbProbe"));

    Control& Option(const char* name, int index, Control* container) {
        return Logged(form.Add(ControlKind::OptionButton, name, index, container));
    }
    Control& Logged(Control& c) {
        std::string id = c.name() + (c.index() >= 0 ? std::to_string(c.index()) : "");
        c.onClick = [this, id] { log.push_back(id + ".Click"); };
        c.onChange = [this, id] { log.push_back(id + ".Change"); };
        return c;
    }
    std::vector<int> Values(std::initializer_list<Control*> cs) {
        std::vector<int> v;
        for (auto* c : cs) v.push_back(c->value());
        return v;
    }
};

TEST_F(Fixture, OptionGroupsFollowTheirContainer) {
    struct Step {
        Control* pick;
        bool byUser;
        std::vector<int> expected;  // win0 win1 fr0 fr1
        std::vector<std::string> raised;
    };
    form.Load();
    std::vector<Step> steps = {
        {&win0, false, {1, 0, 0, 0}, {"obWin0.Click"}},
        {&fr1, true, {1, 0, 0, 1}, {"obFr1.Click"}},  // the other group keeps its choice
        {&win1, true, {0, 1, 0, 1}, {"obWin1.Click"}},
        {&win1, false, {0, 1, 0, 1}, {}},  // already selected: no second click
        {&fr0, false, {0, 1, 1, 0}, {"obFr0.Click"}},
    };
    for (std::size_t i = 0; i < steps.size(); ++i) {
        log.clear();
        if (steps[i].byUser)
            form.UserClick(steps[i].pick->id());
        else
            steps[i].pick->SetValue(1);
        EXPECT_EQ(Values({&win0, &win1, &fr0, &fr1}), steps[i].expected) << "step " << i;
        EXPECT_EQ(log, steps[i].raised) << "step " << i;
    }
    log.clear();
    fr0.SetValue(0);  // clearing from code leaves the group empty, silently
    EXPECT_EQ(Values({&fr0, &fr1}), (std::vector<int>{0, 0}));
    EXPECT_TRUE(log.empty());
}

TEST_F(Fixture, CodeSetValuesRaiseWhatAUserWould) {
    struct Case {
        const char* what;
        std::function<void()> act;
        std::vector<std::string> raised;
    };
    form.Load();
    std::vector<Case> cases = {
        {"tick from code", [&] { check.SetValue(1); }, {"cbxProbe.Click"}},
        {"same value again", [&] { check.SetValue(1); }, {}},
        {"user unticks", [&] { form.UserClick(check.id()); }, {"cbxProbe.Click"}},
        {"text from code", [&] { text.SetText("12"); }, {"tbProbe.Change"}},
        {"same text", [&] { text.SetText("12"); }, {}},
        {"user types", [&] { form.UserType(text.id(), "13"); }, {"tbProbe.Change"}},
        {"button", [&] { form.UserClick(button.id()); }, {"cmdProbe.Click"}},
        {"entry from code", [&] { list.SetListIndex(1); }, {"ddlbProbe.Click"}},
        {"entry by text", [&] { list.SetText("a"); }, {"ddlbProbe.Click"}},
        {"user chooses", [&] { form.UserChoose(list.id(), 1); }, {"ddlbProbe.Click"}},
        {"choice out of range", [&] { form.UserChoose(list.id(), 7); }, {}},
    };
    list.AddItem("a");
    list.AddItem("b");
    for (const auto& c : cases) {
        log.clear();
        c.act();
        EXPECT_EQ(log, c.raised) << c.what;
    }
    EXPECT_EQ(check.value(), 0);
    EXPECT_EQ(text.text(), "13");
    EXPECT_EQ(list.text(), "b");
}

TEST_F(Fixture, UnreachableControlsIgnoreTheUser) {
    struct Case {
        const char* what;
        std::function<void()> block;
        Control* target;
    };
    std::vector<Case> cases = {
        {"disabled check box", [&] { check.SetEnabled(false); }, &check},
        {"hidden button", [&] { button.SetVisible(false); }, &button},
        {"option in a hidden frame", [&] { frame.SetVisible(false); }, &fr1},
        {"option in a disabled frame", [&] { frame.SetEnabled(false); }, &fr0},
        {"read-only text box", [&] { text.SetReadOnly(true); }, &text},
        {"disabled list", [&] { list.SetEnabled(false); }, &list},
    };
    list.AddItem("a");
    form.Load();
    for (const auto& c : cases) {
        for (Control* x : {&check, &button, &frame, &text, &list}) {
            x->SetEnabled(true);
            x->SetVisible(true);
        }
        text.SetReadOnly(false);
        c.block();
        int before = c.target->value();
        log.clear();
        form.UserClick(c.target->id());
        form.UserType(c.target->id(), "typed");
        form.UserChoose(c.target->id(), 0);
        EXPECT_TRUE(log.empty()) << c.what;
        EXPECT_EQ(c.target->value(), before) << c.what;
        // The program itself still may set it.
        if (c.target->kind() == ControlKind::CheckBox) {
            c.target->SetValue(1);
            EXPECT_EQ(log, std::vector<std::string>{"cbxProbe.Click"}) << c.what;
        }
    }
}

}  // namespace
}  // namespace orv
