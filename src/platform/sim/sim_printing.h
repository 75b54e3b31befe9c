#pragma once
// Installed printers and a page recorder. Every call is kept, positions in
// twips, in the document it belongs to; a document is printed when EndDoc
// finds output in it. Failures of each operation can be switched on.
#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/printing.h"

namespace orv::sim {

struct PrintOp {
    enum class Kind { BackColor, Orientation, FontName, FontSize, Text, Picture };
    explicit PrintOp(Kind k, uint32_t v = 0) : kind(k), value(v) {}
    Kind kind;
    uint32_t value = 0;                         // colour or raster operation
    double fontSize = 0;                        // size in force (FontSize, Text)
    std::string text;                           // face or printed line
    float x = 0, y = 0, width = 0, height = 0;  // Text: height is the line height
    Image picture;
};

struct SimDocument {
    std::string printer;
    int16_t orientation = 1;
    float pageWidth = 0, pageHeight = 0;
    std::vector<PrintOp> ops;
    bool hasOutput = false;

    std::vector<const PrintOp*> Find(PrintOp::Kind kind) const;
    std::vector<std::string> Lines() const;  // printed texts in order
};

class SimPrinting : public platform::Printing {
  public:
    std::vector<std::string> InstalledPrinters() override;
    std::string CurrentPrinter() override;
    void SelectPrinter(const std::string& deviceName) override;
    void SelectDefaultPrinter() override { current_.reset(); }
    bool OutputAsksForFile() override { return fileAskingPrinters.count(CurrentPrinter()) > 0; }
    void SetBackColor(uint32_t colorRef) override;
    void SetOrientation(int16_t orientation) override;
    void SetFontName(const std::string& face) override;
    void SetFontSize(double points) override;
    float ScaleWidth() override;
    float ScaleHeight() override;
    float TextHeight(const std::string& text) override;
    void PrintLine(float x, float y, const std::string& text) override;
    void PaintPicture(const Image& picture, float x, float y, float width, float height,
                      uint32_t rasterOp) override;
    void EndDoc() override;

    // The machine's printers (names may repeat) and the system default.
    std::vector<std::string> printers{"Office Laser", "Colour Inkjet"};
    int defaultPrinter = 0;  // index into printers; -1 for none
    // Printable area in portrait; landscape swaps the two.
    float portraitWidth = 11520, portraitHeight = 15840;
    float twipsPerPoint = 23;  // line height per point of font size

    // Printers whose port asks for a file name as output starts ("Microsoft
    // Print to PDF" and its "Save Print Output As" box), and what is told then.
    std::set<std::string> fileAskingPrinters{"Microsoft Print to PDF"};
    std::function<void()> onAskForFile;

    // Injected failures.
    bool failEnumeration = false;
    bool failPageSize = false;
    bool refuseOrientation = false;
    std::set<double> rejectedFontSizes;
    bool failPrintLine = false;
    bool failDraw = false;
    bool failEndDoc = false;

    // Records.
    std::vector<SimDocument> documents;  // printed pages
    const SimDocument& pending() const { return pending_; }
    int endDocCalls = 0;
    int selections = 0;
    std::optional<std::size_t> currentIndex() const;
    double fontSize() const { return fontSize_; }

  private:
    void RequirePrinter();
    void Record(PrintOp op, bool output);
    std::optional<std::size_t> current_;
    int16_t orientation_ = 1;
    double fontSize_ = 10;
    SimDocument pending_;
};

// The page as pixels at twipsPerPixel: white paper, text lines as black bars,
// pictures scaled nearest-neighbour.
Image RenderPage(const SimDocument& page, float twipsPerPixel = 15);

}  // namespace orv::sim
