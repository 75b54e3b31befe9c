#include "output/save_to_file.h"

#include <new>

#include "output/file_names.h"
#include "output/format_codes.h"
#include "output/replacing_write.h"
#include "platform/error.h"
#include "platform/strings.h"
#include "platform/trace.h"
#include "state/foreground.h"

namespace orv {
namespace {

constexpr const char* kExtensions[] = {".gif", ".png", ".bmp", ".jpg"};
constexpr uint32_t kSaveDialogFlags = 0x280802;
constexpr int32_t kCounterWrap = 100000000;
constexpr char kVerifyLine[] = "Verify\r\n";

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

std::vector<uint8_t> Encode(SavableImage& image, const SettingsRecord& cs) {
    switch (cs.SaveFormat) {
        case 0:
            return image.GifBytes();
        case 1:
            return image.PngBytes();
        case 3:
            return image.JpgBytes(cs.JpgQuality);
        default:
            throw err::InvalidCall();  // a filter entry the save does not know
    }
}

}  // namespace

void SaveToFile(Context& ctx, SavableImage& image) {
    SettingsRecord& cs = ctx.state.CaptureSettings;
    std::string failure = "File will not be saved";
    std::string path;
    auto report = [&](const Error& e) {
        ShowBox(ctx, failure + " - " + e.description(), ctx.ProductTitle(),
                platform::mb::kCritical);
    };
    try {
        if (ToLower(cs.SaveFileName) == ToLower(kPromptForFileName)) {
            platform::SaveDialogRequest request;
            request.title = ctx.ProductTitle() + " Save to File";
            request.flags = kSaveDialogFlags;
            request.filter =
                "GIF Files (*.gif)|*.gif|PNG Files (*.png)|*.png|BMP Files (*.bmp)|*.bmp|JPG "
                "Files (*.jpg)|*.jpg";
            request.filterIndex = cs.SaveFormat + 1;
            ComeForward(ctx);
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
        if (!IsPlainFilePath(path)) throw err::BadFileName();
        // The check line goes to the new file beside the target; a file of
        // the same name stays as it was until the picture is complete.
        ReplacingWrite file(ctx.os, path);
        file.Create(std::vector<uint8_t>(kVerifyLine, kVerifyLine + sizeof kVerifyLine - 1));
        ORV_MARK("check file written");

        failure = FileFailure("Failed to create the file", path);
        if (cs.SaveFormat == 2) {
            file.Rewrite(image.BmpPieces());  // BMP: made piece by piece as it is written
        } else {
            const std::vector<uint8_t> bytes = Encode(image, cs);
            ORV_MARK("encoded");
            file.Rewrite(bytes);
        }
        ORV_MARK("written");
        file.Commit();
        ORV_MARK("renamed");
    } catch (const std::exception& e) {
        report(ToError(e));
    }
}

}  // namespace orv
