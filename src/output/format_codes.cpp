#include "output/format_codes.h"

#include <cctype>
#include <cstdio>
#include <functional>
#include <new>

#include "output/file_names.h"
#include "platform/error.h"

namespace orv {
namespace {

constexpr const char* kNotSaved = " The image was not saved to disk ";

std::size_t FindNoCase(const std::string& text, const std::string& code, std::size_t from) {
    for (std::size_t i = from; i + code.size() <= text.size(); ++i) {
        std::size_t k = 0;
        while (k < code.size() && std::tolower(static_cast<unsigned char>(text[i + k])) ==
                                      std::tolower(static_cast<unsigned char>(code[k])))
            ++k;
        if (k == code.size()) return i;
    }
    return std::string::npos;
}

// Replaces every occurrence of code (any letter case) in text. The search goes
// on after each inserted replacement, so a replacement holding its own code
// does not expand again.
std::string ReplaceNoCase(const std::string& text, const std::string& code,
                          const std::string& replacement) {
    std::string out;
    std::size_t pos = 0;
    for (std::size_t hit; (hit = FindNoCase(text, code, pos)) != std::string::npos;
         pos = hit + code.size()) {
        out.append(text, pos, hit - pos);
        out += replacement;
    }
    out.append(text, pos, std::string::npos);
    return out;
}

std::string Digits(long value, int width) {
    char buf[24];
    std::snprintf(buf, sizeof buf, "%0*ld", width, value);
    return buf;
}

// Hour, minute or second of CaptureTime ("hh:mm:ss"). A time in any other
// shape is a type mismatch, which leaves the whole text unexpanded.
std::string TimePart(const std::string& captureTime, std::size_t offset) {
    if (captureTime.size() != 8 || captureTime[2] != ':' || captureTime[5] != ':')
        throw err::TypeMismatch();
    for (std::size_t i : {0, 1, 3, 4, 6, 7})
        if (!std::isdigit(static_cast<unsigned char>(captureTime[i]))) throw err::TypeMismatch();
    return captureTime.substr(offset, 2);
}

std::string FileFormat(int16_t saveFormat) {
    switch (saveFormat) {
        case 0:
            return ".gif";
        case 1:
            return ".png";
        case 2:
            return ".bmp";
        case 3:
            return ".jpg";
        default:
            return "";
    }
}

struct Code {
    const char* name;
    std::function<std::string()> value;
};

}  // namespace

std::string ExpandFormatCodes(Context& ctx, const std::string& text, bool fileNameFlag) {
    try {
        const SettingsRecord& cs = ctx.state.CaptureSettings;
        const std::string& t = ctx.state.CaptureTime;
        // The date is read afresh for each date code.
        auto now = [&] { return ctx.os.clock.Now(); };
        const Code codes[] = {
            {"[rdate]",
             [&] {
                 auto d = now();
                 return Digits(d.year, 4) + Digits(d.month, 2) + Digits(d.day, 2);
             }},
            {"[date]",
             [&] {
                 auto d = now();
                 return Digits(d.day, 2) + Digits(d.month, 2) + Digits(d.year, 4);
             }},
            {"[usdate]",
             [&] {
                 auto d = now();
                 return Digits(d.month, 2) + Digits(d.day, 2) + Digits(d.year, 4);
             }},
            {"[counter]", [&] { return std::to_string(cs.Counter); }},
            {"[time]", [&] { return TimePart(t, 0) + TimePart(t, 3) + TimePart(t, 6); }},
            {"[name]", [&] { return ctx.os.system.UserName(); }},
            {"[company]", [&] { return ctx.os.system.UserCompany(); }},
            {"[month]", [&] { return Digits(now().month, 2); }},
            {"[monthlong]", [&] { return ctx.os.system.MonthName(now().month, false); }},
            {"[monthshort]", [&] { return ctx.os.system.MonthName(now().month, true); }},
            {"[day]", [&] { return Digits(now().day, 2); }},
            {"[year]", [&] { return Digits(((now().year % 100) + 100) % 100, 2); }},
            {"[tab]", [] { return std::string("\t"); }},
            {"[hour]", [&] { return TimePart(t, 0); }},
            {"[min]", [&] { return TimePart(t, 3); }},
            {"[sec]", [&] { return TimePart(t, 6); }},
            {"[fileformat]", [&] { return FileFormat(cs.SaveFormat); }},
            {"[filepath]", [&] { return cs.SaveFolder; }},
            {"[filename]",
             [&] {
                 return !fileNameFlag && cs.Save == 1 ? cs.SaveFileName : std::string(kNotSaved);
             }},
        };
        std::string result = text;
        for (const Code& code : codes)
            if (FindNoCase(result, code.name, 0) != std::string::npos)
                result = ReplaceNoCase(result, code.name,
                                       fileNameFlag ? FileNamePart(code.value()) : code.value());
        return result;
    } catch (const Error&) {
    } catch (const std::bad_alloc&) {
    }
    return text;
}

}  // namespace orv
