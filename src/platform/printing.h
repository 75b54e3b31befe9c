#pragma once
// The printing service as the print job and the printer look-up use it. All
// output goes to the current printer; positions, extents and text heights are
// twips from the top-left corner of the printable area. Every failure throws
// orv::Error.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/image.h"

namespace orv::platform {

constexpr uint32_t kSrcCopy = 0xCC0020;

class Printing {
  public:
    virtual ~Printing() = default;

    // Device names of the installed printers in the system's order.
    virtual std::vector<std::string> InstalledPrinters() = 0;
    // The printer all output goes to; the system's default until one is selected.
    virtual std::string CurrentPrinter() = 0;
    // Makes the installed printer of that device name current for the rest of the run.
    virtual void SelectPrinter(const std::string& deviceName) = 0;
    // Makes the system's default printer, as it is now, current.
    virtual void SelectDefaultPrinter() = 0;
    // Whether the current printer's port asks the user where to write the
    // document as it starts ("Microsoft Print to PDF": "Save Print Output As").
    virtual bool OutputAsksForFile() = 0;

    // Colour behind printed text, as a COLORREF (0x00BBGGRR).
    virtual void SetBackColor(uint32_t colorRef) = 0;
    virtual void SetOrientation(int16_t orientation) = 0;  // 1 portrait, 2 landscape
    virtual void SetFontName(const std::string& face) = 0;
    virtual void SetFontSize(double points) = 0;

    virtual float ScaleWidth() = 0;                         // printable width
    virtual float ScaleHeight() = 0;                        // printable height
    virtual float TextHeight(const std::string& text) = 0;  // in the current font

    // Prints one line with its top-left corner at (x, y); the first output
    // starts the document.
    virtual void PrintLine(float x, float y, const std::string& text) = 0;
    // Draws the whole picture scaled into the rectangle.
    virtual void PaintPicture(const Image& picture, float x, float y, float width, float height,
                              uint32_t rasterOp) = 0;
    // Sends the page to the printer.
    virtual void EndDoc() = 0;
};

}  // namespace orv::platform
