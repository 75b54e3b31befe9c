#pragma once
// A program instance on a fresh simulated desktop, for tests.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/program.h"
#include "platform/sim/sim_desktop.h"

namespace orv::testing {

inline constexpr const char* kKey = "SOFTWARE\\Halvorn\\Orvanexv3\\";
inline constexpr const char* kRunKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run\\";
using platform::RegRoot;

struct SimProgram {
    sim::SimDesktop desk;
    sim::SimProcess& proc = desk.StartProcess();
    Program program{proc.os()};
    Context& ctx = program.context();
    ProgramState& st = program.state();

    // A window the user must answer that opened behind the application in
    // front takes the user's typing elsewhere: every test fails on one.
    ~SimProgram() {
        EXPECT_EQ(desk.shownBehind, std::vector<std::string>{}) << "opened without the foreground";
    }

    // What loading from an empty registry gives on this desktop.
    SettingsRecord Defaults() const {
        SettingsRecord s;
        s.SaveFolder = desk.picturesFolder + "\\";
        return s;
    }

    // A second program on the same desktop (a second start).
    std::unique_ptr<Program> StartAnother(const std::string& commandLine) {
        auto& p = desk.StartProcess();
        auto other = std::make_unique<Program>(p.os());
        other->Start(commandLine);
        return other;
    }
};

// The texts of the message boxes shown so far.
inline std::vector<std::string> BoxTexts(const sim::SimDesktop& desk) {
    std::vector<std::string> t;
    for (const auto& b : desk.messageBoxes) t.push_back(b.text);
    return t;
}

// A stored value, or "<none>".
inline std::string Reg(const sim::SimDesktop& desk, RegRoot root, const char* name,
                       const char* path = kKey) {
    return desk.registry.Get(root, path, name).value_or("<none>");
}

}  // namespace orv::testing
