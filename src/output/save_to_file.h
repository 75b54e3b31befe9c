#pragma once
// Writing the capture to a GIF, PNG, BMP or JPG file.
#include <string>

#include "settings/program_state.h"

namespace orv {

// What a save needs of the picture holder.
class SavableImage {
public:
    virtual ~SavableImage() = default;
    virtual void SaveGif(const std::string& path, bool interlaced) = 0;
    virtual void SavePng(const std::string& path) = 0;
    virtual void SaveBmp(const std::string& path) = 0;
    virtual void SaveJpg(const std::string& path, int quality, bool fullChroma, bool greyscale) = 0;
};

inline constexpr const char* kPromptForFileName = "[Prompt user for filename]";

// Names the file (template or save dialog), advances the counter and writes the
// image. Reports its own failures and always returns.
void SaveToFile(Context& ctx, SavableImage& image);

}  // namespace orv
