#include "output/format_codes.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <functional>
#include <iterator>
#include <new>
#include <vector>

#include "output/file_names.h"
#include "platform/error.h"

namespace orv {
namespace {

constexpr const char* kNotSaved = " The image was not saved to disk ";
// Far beyond a printed line or a file name; a longer result is refused.
constexpr std::size_t kMaxExpandedLength = 32768;

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
        // Codes are found in the template only: a value (a folder, an owner's
        // name) is never read as codes, so the result grows at most by one
        // value per code written. Values are worked out in the table's order.
        struct Hit {
            std::size_t at, length, code;
        };
        std::vector<Hit> hits;
        std::vector<std::string> values(std::size(codes));
        for (std::size_t c = 0; c < std::size(codes); ++c) {
            const std::size_t length = std::strlen(codes[c].name);
            std::size_t at = FindNoCase(text, codes[c].name, 0);
            if (at == std::string::npos) continue;
            for (; at != std::string::npos; at = FindNoCase(text, codes[c].name, at + length))
                hits.push_back({at, length, c});
            values[c] = fileNameFlag ? FileNamePart(codes[c].value()) : codes[c].value();
        }
        std::sort(hits.begin(), hits.end(), [](const Hit& a, const Hit& b) { return a.at < b.at; });
        std::string result;
        std::size_t from = 0;
        for (const Hit& hit : hits) {
            result.append(text, from, hit.at - from);
            result += values[hit.code];
            from = hit.at + hit.length;
            if (result.size() > kMaxExpandedLength) throw err::Overflow();
        }
        result.append(text, from, std::string::npos);
        if (!hits.empty() && result.size() > kMaxExpandedLength) throw err::Overflow();
        return result;
    } catch (const Error&) {
    } catch (const std::bad_alloc&) {
    }
    return text;
}

}  // namespace orv
