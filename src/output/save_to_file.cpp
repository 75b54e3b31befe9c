#include "output/save_to_file.h"

#include "output/format_codes.h"
#include "platform/error.h"
#include "platform/strings.h"

namespace orv {
namespace {

constexpr const char* kExtensions[] = {".gif", ".png", ".bmp", ".jpg"};
constexpr uint32_t kSaveDialogFlags = 0x280802;
constexpr int32_t kCounterWrap = 100000000;

std::string FileNameOnly(const std::string& path) {
    auto slash = path.find_last_of("\\/");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    auto dot = name.find_last_of('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

std::string FileFailure(const char* what, const std::string& path) {
    return std::string(what) + " \"" + path +
           "\"\r\nEnsure the path is valid, and that you have write access to the folder.";
}

}  // namespace

void SaveToFile(Context& ctx, SavableImage& image) {
    SettingsRecord& cs = ctx.state.CaptureSettings;
    std::string failure = "File will not be saved";
    std::string path;
    bool verified = false;
    try {
        if (ToLower(cs.SaveFileName) == ToLower(kPromptForFileName)) {
            platform::SaveDialogRequest request;
            request.title = ctx.ProductTitle() + " Save to File";
            request.flags = kSaveDialogFlags;
            request.filter =
                "GIF Files (*.gif)|*.gif|PNG Files (*.png)|*.png|BMP Files (*.bmp)|*.bmp|JPG "
                "Files (*.jpg)|*.jpg";
            request.filterIndex = cs.SaveFormat + 1;
            auto chosen = ctx.os.dialogs.ShowSave(request);
            if (!chosen) throw err::Cancelled();
            path = chosen->fileName;
            cs.SaveFormat = static_cast<int16_t>(chosen->filterIndex - 1);
            // A footer's "[filename]" then names the file the user chose.
            cs.SaveFileName = FileNameOnly(path);
        } else {
            cs.SaveFileName = ExpandFormatCodes(ctx, cs.SaveFileName, true);
            if (cs.SaveFormat >= 0 && cs.SaveFormat <= 3)
                path = cs.SaveFolder + cs.SaveFileName + kExtensions[cs.SaveFormat];
        }

        int32_t& counter = ctx.state.Settings.Counter;
        counter = counter < kCounterWrap ? counter + 1 : 0;

        failure = FileFailure("Could not create the file", path);
        ctx.os.files.WriteFile(path, std::string("Verify\r\n"));
        verified = true;

        failure = FileFailure("Failed to create the file", path);
        switch (cs.SaveFormat) {
            case 0: image.SaveGif(path, false); break;
            case 1: image.SavePng(path); break;
            case 2: image.SaveBmp(path); break;
            case 3: image.SaveJpg(path, cs.JpgQuality, false, false); break;
            default: break;
        }
    } catch (const Error& e) {
        // A file holding only the check line, or a half-written image, is no
        // picture: do not leave it under the image's name.
        if (verified) ctx.os.files.RemoveFile(path);
        ctx.os.ui.MsgBox(failure + " - " + e.description(), ctx.ProductTitle(),
                         platform::mb::kCritical);
    }
}

}  // namespace orv
