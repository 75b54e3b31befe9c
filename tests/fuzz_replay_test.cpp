// Every committed seed and reproducer of the fuzzers, run through the same
// checks in the ordinary test run.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "fuzz_target.h"

namespace orv::fuzz {
namespace {

namespace fs = std::filesystem;

class FuzzReplay : public ::testing::TestWithParam<Target> {};

TEST_P(FuzzReplay, SeedsAndReproducersPass) {
    ThrowOnFailure();
    std::vector<fs::path> files;
    for (const char* kind : {"corpus", "repro"}) {
        const fs::path dir = fs::path(ORV_FUZZ_DIR) / kind / GetParam().name;
        if (fs::is_directory(dir))
            for (const auto& e : fs::directory_iterator(dir)) files.push_back(e.path());
    }
    ASSERT_FALSE(files.empty()) << "no seeds for " << GetParam().name;
    std::sort(files.begin(), files.end());
    for (const fs::path& f : files) {
        std::ifstream in(f, std::ios::binary);
        const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
        try {
            GetParam().run(bytes.data(), bytes.size());
        } catch (const std::logic_error& e) {
            ADD_FAILURE() << f.filename() << ": " << e.what();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Targets, FuzzReplay, ::testing::ValuesIn(kTargets),
                         [](const auto& p) { return std::string(p.param.name); });

}  // namespace
}  // namespace orv::fuzz
