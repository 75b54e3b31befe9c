#pragma once
// Writing the capture to a GIF, PNG, BMP or JPG file.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/files.h"
#include "state/program_state.h"

namespace orv {

// What a save needs of the picture holder: the picture as file bytes (a
// bitmap, as large as the frame, in pieces).
class SavableImage {
  public:
    virtual ~SavableImage() = default;
    virtual std::vector<uint8_t> GifBytes() = 0;
    virtual std::vector<uint8_t> PngBytes() = 0;
    virtual platform::FilePieces BmpPieces() = 0;
    virtual std::vector<uint8_t> JpgBytes(int quality) = 0;
};

inline constexpr const char* kPromptForFileName = "[Prompt user for filename]";

// Names the file (template or save dialog), advances the counter and writes the
// image. A file already there is replaced only by a complete new one. Reports
// its own failures and always returns.
void SaveToFile(Context& ctx, SavableImage& image);

}  // namespace orv
