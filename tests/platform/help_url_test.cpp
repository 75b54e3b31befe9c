#include "platform/help_url.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

struct UrlCase {
    const char* path;
    const char* fragment;
    const char* url;
};

class FileUrlTest : public testing::TestWithParam<UrlCase> {};

TEST_P(FileUrlTest, MakesAUrlBrowsersOpenAtTheTopic) {
    EXPECT_EQ(FileUrl(GetParam().path, GetParam().fragment), GetParam().url);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, FileUrlTest,
    testing::Values(
        UrlCase{"C:\\Orvanex\\Orvanex.html", "context-20", "file:///C:/Orvanex/Orvanex.html#context-20"},
        // Blanks and brackets would split the command line or the URL.
        UrlCase{"C:\\Program Files (x86)\\Orvanex\\Orvanex.html", "context-30",
                "file:///C:/Program%20Files%20%28x86%29/Orvanex/Orvanex.html#context-30"},
        // A '#' or '%' in a folder name must not become a fragment or an escape.
        UrlCase{"D:\\C# tools\\100%\\Orvanex.html", "context-40",
                "file:///D:/C%23%20tools/100%25/Orvanex.html#context-40"},
        UrlCase{"C:\\a\"b&c\\Orvanex.html", "", "file:///C:/a%22b%26c/Orvanex.html"},
        // UTF-8 bytes are escaped one by one.
        UrlCase{"C:\\Bilder\\K\xC3\xA4se\\Orvanex.html", "context-60",
                "file:///C:/Bilder/K%C3%A4se/Orvanex.html#context-60"},
        UrlCase{"\\\\server\\share\\Orvanex.html", "context-20",
                "file://server/share/Orvanex.html#context-20"},
        UrlCase{"\\\\?\\C:\\Orvanex\\Orvanex.html", "context-20",
                "file:///C:/Orvanex/Orvanex.html#context-20"},
        UrlCase{"\\\\?\\UNC\\server\\share\\Orvanex.html", "", "file://server/share/Orvanex.html"},
        UrlCase{"C:/mixed\\slashes/Orvanex.html", "", "file:///C:/mixed/slashes/Orvanex.html"}));

struct CommandCase {
    const char* command;
    const char* program;
    const char* parameters;
};

class FillBrowserCommandTest : public testing::TestWithParam<CommandCase> {};

constexpr const char* kUrl = "file:///C:/O/Orvanex.html#context-20";

TEST_P(FillBrowserCommandTest, PutsTheUrlWhereTheBrowserWantsIt) {
    auto launch = FillBrowserCommand(GetParam().command, kUrl);
    ASSERT_TRUE(launch.has_value());
    EXPECT_EQ(launch->program, GetParam().program);
    EXPECT_EQ(launch->parameters, GetParam().parameters);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, FillBrowserCommandTest,
    testing::Values(
        CommandCase{"\"C:\\Program Files\\B\\browser.exe\" --single-argument %1",
                    "C:\\Program Files\\B\\browser.exe",
                    "--single-argument file:///C:/O/Orvanex.html#context-20"},
        CommandCase{"\"C:\\Program Files\\F\\fox.exe\" -osint -url \"%1\"", "C:\\Program Files\\F\\fox.exe",
                    "-osint -url \"file:///C:/O/Orvanex.html#context-20\""},
        // Unquoted program path with blanks: ends after ".exe".
        CommandCase{"C:\\Program Files\\B\\b.exe %L", "C:\\Program Files\\B\\b.exe",
                    "file:///C:/O/Orvanex.html#context-20"},
        CommandCase{"  C:\\B\\B.EXE  ", "C:\\B\\B.EXE", "file:///C:/O/Orvanex.html#context-20"},
        // %* and unknown placeholders vanish; %% is a percent sign.
        CommandCase{"\"b.exe\" %1 %* %I -x=100%%", "b.exe",
                    "file:///C:/O/Orvanex.html#context-20   -x=100%"},
        CommandCase{"%ProgramFiles%\\b.exe -new", "%ProgramFiles%\\b.exe",
                    "-new file:///C:/O/Orvanex.html#context-20"},
        CommandCase{"browser", "browser", "file:///C:/O/Orvanex.html#context-20"}));

TEST(FillBrowserCommand, RefusesCommandsThatNameNoProgram) {
    for (const char* command : {"", "   ", "\"", "\"C:\\B\\b.exe %1", "\"\" %1"})
        EXPECT_FALSE(FillBrowserCommand(command, kUrl).has_value()) << command;
}

}  // namespace
}  // namespace orv
