#include "platform/help_url.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

TEST(FileUrl, MakesAUrlBrowsersOpenAtTheTopic) {
    const std::tuple<const char*, const char*, const char*> cases[] = {
        // path, fragment, URL
        {"C:\\Orvanex\\Orvanex.html", "context-20", "file:///C:/Orvanex/Orvanex.html#context-20"},
        // Blanks and brackets would split the command line or the URL.
        {"C:\\Program Files (x86)\\Orvanex\\Orvanex.html", "context-30",
         "file:///C:/Program%20Files%20%28x86%29/Orvanex/Orvanex.html#context-30"},
        // A '#' or '%' in a folder name must not become a fragment or an escape.
        {"D:\\C# tools\\100%\\Orvanex.html", "context-40",
         "file:///D:/C%23%20tools/100%25/Orvanex.html#context-40"},
        {"C:\\a\"b&c\\Orvanex.html", "", "file:///C:/a%22b%26c/Orvanex.html"},
        // UTF-8 bytes are escaped one by one.
        {"C:\\Bilder\\K\xC3\xA4se\\Orvanex.html", "context-60",
         "file:///C:/Bilder/K%C3%A4se/Orvanex.html#context-60"},
        {"\\\\server\\share\\Orvanex.html", "context-20",
         "file://server/share/Orvanex.html#context-20"},
        {"\\\\?\\C:\\Orvanex\\Orvanex.html", "context-20",
         "file:///C:/Orvanex/Orvanex.html#context-20"},
        {"\\\\?\\UNC\\server\\share\\Orvanex.html", "", "file://server/share/Orvanex.html"},
        {"C:/mixed\\slashes/Orvanex.html", "", "file:///C:/mixed/slashes/Orvanex.html"}};
    for (const auto& [path, fragment, url] : cases) EXPECT_EQ(FileUrl(path, fragment), url);
}

constexpr const char* kUrl = "file:///C:/O/Orvanex.html#context-20";

TEST(FillBrowserCommand, PutsTheUrlWhereTheBrowserWantsIt) {
    const std::tuple<const char*, const char*, const char*> cases[] = {
        // command, program, parameters
        {"\"C:\\Program Files\\B\\browser.exe\" --single-argument %1",
         "C:\\Program Files\\B\\browser.exe",
         "--single-argument file:///C:/O/Orvanex.html#context-20"},
        {"\"C:\\Program Files\\F\\fox.exe\" -osint -url \"%1\"", "C:\\Program Files\\F\\fox.exe",
         "-osint -url \"file:///C:/O/Orvanex.html#context-20\""},
        // Unquoted program path with blanks: ends after ".exe".
        {"C:\\Program Files\\B\\b.exe %L", "C:\\Program Files\\B\\b.exe",
         "file:///C:/O/Orvanex.html#context-20"},
        {"  C:\\B\\B.EXE  ", "C:\\B\\B.EXE", "file:///C:/O/Orvanex.html#context-20"},
        // %* and unknown placeholders vanish; %% is a percent sign.
        {"\"b.exe\" %1 %* %I -x=100%%", "b.exe", "file:///C:/O/Orvanex.html#context-20   -x=100%"},
        {"%ProgramFiles%\\b.exe -new", "%ProgramFiles%\\b.exe",
         "-new file:///C:/O/Orvanex.html#context-20"},
        {"browser", "browser", "file:///C:/O/Orvanex.html#context-20"}};
    for (const auto& [command, program, parameters] : cases) {
        auto launch = FillBrowserCommand(command, kUrl);
        ASSERT_TRUE(launch.has_value()) << command;
        EXPECT_EQ(launch->program, program);
        EXPECT_EQ(launch->parameters, parameters) << command;
    }
}

TEST(FillBrowserCommand, RefusesCommandsThatNameNoProgram) {
    for (const char* command : {"", "   ", "\"", "\"C:\\B\\b.exe %1", "\"\" %1"})
        EXPECT_FALSE(FillBrowserCommand(command, kUrl).has_value()) << command;
}

}  // namespace
}  // namespace orv
