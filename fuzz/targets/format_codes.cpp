// Header, footer and file-name templates with codes, and the values codes
// bring in (owner, company, folder, file name), all from the fuzzer.
#include "output/format_codes.h"

#include <cctype>
#include <cstdio>
#include <optional>

#include "fuzz_target.h"
#include "output/file_names.h"
#include "platform/sim/sim_desktop.h"

namespace orv::fuzz {
namespace {

std::string Two(int v) {
    char b[16];
    std::snprintf(b, sizeof b, "%02d", v);
    return b;
}

bool StartsNoCase(const std::string& text, std::size_t at, const std::string& code) {
    if (text.size() - at < code.size()) return false;
    for (std::size_t k = 0; k < code.size(); ++k)
        if (std::tolower(static_cast<unsigned char>(text[at + k])) != code[k]) return false;
    return true;
}

// Written apart from the program's: one scan from left to right.
std::optional<std::string> Reference(sim::SimDesktop& desk, platform::Platform& os,
                                     const ProgramState& st, const std::string& text,
                                     bool fileNameFlag) {
    const auto d = desk.clock.Now();
    const SettingsRecord& cs = st.CaptureSettings;
    const std::string& t = st.CaptureTime;
    bool timeOk = t.size() == 8 && t[2] == ':' && t[5] == ':';
    for (int i : {0, 1, 3, 4, 6, 7})
        timeOk = timeOk && t.size() == 8 && std::isdigit(static_cast<unsigned char>(t[i]));
    char year[16];
    std::snprintf(year, sizeof year, "%04d", d.year);
    const char* ext[] = {".gif", ".png", ".bmp", ".jpg"};
    const std::pair<std::string, std::optional<std::string>> codes[] = {
        {"[rdate]", year + Two(d.month) + Two(d.day)},
        {"[date]", Two(d.day) + Two(d.month) + year},
        {"[usdate]", Two(d.month) + Two(d.day) + year},
        {"[counter]", std::to_string(cs.Counter)},
        {"[time]",
         timeOk ? std::optional(t.substr(0, 2) + t.substr(3, 2) + t.substr(6, 2)) : std::nullopt},
        {"[name]", desk.userName},
        {"[company]", desk.userCompany},
        {"[monthlong]", std::nullopt},  // the platform's words: only their place is checked
        {"[monthshort]", std::nullopt},
        {"[month]", Two(d.month)},
        {"[day]", Two(d.day)},
        {"[year]", Two(d.year % 100)},
        {"[tab]", std::string("\t")},
        {"[hour]", timeOk ? std::optional(t.substr(0, 2)) : std::nullopt},
        {"[min]", timeOk ? std::optional(t.substr(3, 2)) : std::nullopt},
        {"[sec]", timeOk ? std::optional(t.substr(6, 2)) : std::nullopt},
        {"[fileformat]", cs.SaveFormat >= 0 && cs.SaveFormat <= 3 ? ext[cs.SaveFormat] : ""},
        {"[filepath]", cs.SaveFolder},
        {"[filename]",
         !fileNameFlag && cs.Save == 1 ? cs.SaveFileName : " The image was not saved to disk "},
    };
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        bool matched = false;
        for (const auto& [code, value] : codes) {
            if (!StartsNoCase(text, i, code)) continue;
            std::string v;
            if (code == "[monthlong]" || code == "[monthshort]")
                v = os.system.MonthName(d.month, code == "[monthshort]");
            else if (!value)
                return std::nullopt;
            else
                v = *value;
            // In a file name a value is cleaned of what would leave the name.
            out += fileNameFlag ? FileNamePart(v) : v;
            i += code.size();
            matched = true;
            break;
        }
        if (!matched) out += text[i++];
    }
    if (out.size() > 32768 && out != text) return std::nullopt;
    return out;
}

}  // namespace

void FuzzFormatCodes(const uint8_t* data, std::size_t size) {
    static sim::SimDesktop desk;
    static sim::SimProcess& process = desk.StartProcess();
    ProgramState st;
    Context ctx{process.os(), st};
    Bytes in(data, size);
    const bool fileNameFlag = in.U8() & 1;
    desk.clock.SetDate({1 + in.U16() % 9999, 1 + in.U8() % 12, 1 + in.U8() % 28, in.U8() % 24,
                        in.U8() % 60, in.U8() % 60});
    const std::string text = in.Text(2000);
    st.CaptureTime = in.U8() & 1 ? in.Text(9) : "14:07:09";
    desk.userName = in.Text(300);
    desk.userCompany = in.Text(300);
    st.CaptureSettings.SaveFolder = in.Text(300);
    st.CaptureSettings.SaveFileName = in.Text(300);
    st.CaptureSettings.Counter = static_cast<int32_t>(in.U32());
    st.CaptureSettings.SaveFormat = static_cast<int16_t>(int(in.U8() % 7) - 1);
    st.CaptureSettings.Save = static_cast<int16_t>(in.U8() % 3);

    const std::string got = ExpandFormatCodes(ctx, text, fileNameFlag);
    const std::optional<std::string> expected =
        Reference(desk, process.os(), st, text, fileNameFlag);
    Require(got == expected.value_or(text),
            "expansion differs from the reference for \"" + text + "\"");
}

}  // namespace orv::fuzz
