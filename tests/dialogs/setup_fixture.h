#pragma once
// A started program on a fresh desktop whose settings dialog a test opens
// with a script of what the user does while it is up.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "dialogs/setup.h"
#include "sim_program.h"

namespace orv::testing {

using sim::user::Choose;
using sim::user::Click;
namespace mb = platform::mb;

// The test framework has a member named Setup, which would hide the dialog's class.
using Dlg = orv::Setup;

struct SetupFixture : ::testing::Test, SimProgram {
    void SetUp() override { ASSERT_TRUE(program.Start("-startup")); }

    // Configure from the tray; returns when the dialog has closed.
    void Open(sim::FormScript script) {
        proc.forms.OnAppear("Setup", std::move(script));
        program.container().Configure();
        ASSERT_EQ(proc.forms.pendingScripts("Setup"), 0) << "the dialog never appeared";
        ASSERT_FALSE(st.SettingsDialogOpen);
    }
    // A step that looks at (or acts on) the open dialog.
    static sim::FormAction With(std::function<void(Dlg&)> f) {
        return sim::user::Run([f](platform::FormEvents& e) { f(dynamic_cast<Dlg&>(e)); });
    }
};

}  // namespace orv::testing
