#include "state/vbreg.h"

#include <exception>

#include "platform/error.h"

namespace orv {
namespace {

// An unexpected failure inside the layer: tell the user, then carry on.
void ShowRegistryError(Context& ctx, const Error& e) {
    std::string number =
        e.number() < 0 ? std::to_string(e.number()) : " " + std::to_string(e.number());
    ctx.os.ui.MsgBox(
        "Registry Error #" + number + " : " + e.description() + "\rPlease exit and try again.",
        ctx.ProductTitle(), platform::mb::kOk);
}

template <class F, class R>
R Guarded(Context& ctx, R onError, F&& body) {
    try {
        return body();
    } catch (const std::exception& e) {
        ShowRegistryError(ctx, ToError(e));
    }
    return onError;
}

}  // namespace

std::string GetRegValue(Context& ctx, platform::RegRoot root, const std::string& path,
                        const std::string& name, const std::string& defaultText) {
    return Guarded(ctx, std::string(), [&] {
        auto r = ctx.os.registry.QueryValue(root, path, name, kRegBufferSize);
        ctx.state.LastRegistryStatus = r.status;
        if (r.status != 0) return defaultText;
        // No data at all, not even a terminator, cannot be a stored text. A text
        // ends at its first NUL; one written without any keeps every character.
        if (r.data.empty()) throw err::InvalidCall();
        return r.data.substr(0, r.data.find('\0'));
    });
}

bool SetRegValue(Context& ctx, platform::RegRoot root, const std::string& path,
                 const std::string& name, const std::string& text) {
    return Guarded(ctx, false, [&] {
        long status = ctx.os.registry.SetValue(root, path, name, text);
        ctx.state.LastRegistryStatus = status;
        return status == 0;
    });
}

bool DeleteRegValue(Context& ctx, platform::RegRoot root, const std::string& path,
                    const std::string& name) {
    return Guarded(ctx, false, [&] {
        long status = ctx.os.registry.DeleteValue(root, path, name);
        ctx.state.LastRegistryStatus = status;
        return status == 0;
    });
}

bool RegValueExists(Context& ctx, platform::RegRoot root, const std::string& path,
                    const std::string& name) {
    constexpr long kFileNotFound = 2;
    return Guarded(ctx, false, [&] {
        return ctx.os.registry.QueryValue(root, path, name, kRegBufferSize).status != kFileNotFound;
    });
}

}  // namespace orv
