#include "platform/sim/sim_printing.h"

#include <algorithm>
#include <cmath>

#include "platform/error.h"

namespace orv::sim {
namespace {

Error NoPrinter() {
    return Error(484,
                 "Problem getting printer information from the system. Make sure the printer is "
                 "set up correctly.");
}
Error InvalidProperty() {
    return Error(380, "Invalid property value");
}
Error PrinterError() {
    return err::PrinterError();
}

}  // namespace

std::vector<const PrintOp*> SimDocument::Find(PrintOp::Kind kind) const {
    std::vector<const PrintOp*> found;
    for (const auto& op : ops)
        if (op.kind == kind) found.push_back(&op);
    return found;
}

std::vector<std::string> SimDocument::Lines() const {
    std::vector<std::string> lines;
    for (const PrintOp* op : Find(PrintOp::Kind::Text)) lines.push_back(op->text);
    return lines;
}

std::vector<std::string> SimPrinting::InstalledPrinters() {
    if (failEnumeration) throw NoPrinter();
    return printers;
}

std::optional<std::size_t> SimPrinting::currentIndex() const {
    if (current_ && *current_ < printers.size()) return current_;
    if (defaultPrinter >= 0 && std::size_t(defaultPrinter) < printers.size())
        return std::size_t(defaultPrinter);
    return std::nullopt;
}

std::string SimPrinting::CurrentPrinter() {
    auto i = currentIndex();
    return i ? printers[*i] : std::string();
}

void SimPrinting::SelectPrinter(const std::string& deviceName) {
    auto it = std::find(printers.begin(), printers.end(), deviceName);
    if (it == printers.end()) throw NoPrinter();
    current_ = std::size_t(it - printers.begin());
    ++selections;
}

void SimPrinting::RequirePrinter() {
    if (!currentIndex()) throw NoPrinter();
}

void SimPrinting::Record(PrintOp op, bool output) {
    if (output) {
        // StartDoc: a port that asks for a file name asks now.
        if (!pending_.hasOutput && fileAskingPrinters.count(CurrentPrinter()) && onAskForFile)
            onAskForFile();
        pending_.hasOutput = true;
        pending_.printer = CurrentPrinter();
        pending_.orientation = orientation_;
        pending_.pageWidth = ScaleWidth();
        pending_.pageHeight = ScaleHeight();
    }
    pending_.ops.push_back(std::move(op));
}

void SimPrinting::SetBackColor(uint32_t colorRef) {
    RequirePrinter();
    Record(PrintOp(PrintOp::Kind::BackColor, colorRef), false);
}

void SimPrinting::SetOrientation(int16_t orientation) {
    RequirePrinter();
    if (refuseOrientation || (orientation != 1 && orientation != 2)) throw InvalidProperty();
    if (pending_.hasOutput) throw Error(396, "Property cannot be set within a page");
    orientation_ = orientation;
    Record(PrintOp(PrintOp::Kind::Orientation, uint32_t(orientation)), false);
}

void SimPrinting::SetFontName(const std::string& face) {
    RequirePrinter();
    PrintOp op(PrintOp::Kind::FontName);
    op.text = face;
    Record(std::move(op), false);
}

void SimPrinting::SetFontSize(double points) {
    RequirePrinter();
    if (!(points > 0 && points <= 2160) || rejectedFontSizes.count(points)) throw InvalidProperty();
    fontSize_ = points;
    PrintOp op(PrintOp::Kind::FontSize);
    op.fontSize = points;
    Record(std::move(op), false);
}

float SimPrinting::ScaleWidth() {
    RequirePrinter();
    if (failPageSize) throw NoPrinter();
    return orientation_ == 2 ? portraitHeight : portraitWidth;
}

float SimPrinting::ScaleHeight() {
    RequirePrinter();
    if (failPageSize) throw NoPrinter();
    return orientation_ == 2 ? portraitWidth : portraitHeight;
}

float SimPrinting::TextHeight(const std::string&) {
    RequirePrinter();
    return std::round(static_cast<float>(fontSize_) * twipsPerPoint);
}

void SimPrinting::PrintLine(float x, float y, const std::string& text) {
    RequirePrinter();
    if (failPrintLine) throw PrinterError();
    PrintOp op(PrintOp::Kind::Text);
    op.fontSize = fontSize_;
    op.text = text;
    op.x = x, op.y = y;
    op.height = TextHeight(text);
    op.width = op.height * 0.5f * static_cast<float>(text.size());
    Record(std::move(op), true);
}

void SimPrinting::PaintPicture(const Image& picture, float x, float y, float width, float height,
                               uint32_t rasterOp) {
    RequirePrinter();
    if (failDraw) throw PrinterError();
    PrintOp op(PrintOp::Kind::Picture, rasterOp);
    op.x = x, op.y = y, op.width = width, op.height = height;
    op.picture = picture;
    Record(std::move(op), true);
}

void SimPrinting::EndDoc() {
    ++endDocCalls;
    SimDocument done = std::move(pending_);
    pending_ = {};
    if (failEndDoc) throw PrinterError();  // the page is lost
    if (done.hasOutput) documents.push_back(std::move(done));
}

Image RenderPage(const SimDocument& page, float twipsPerPixel) {
    auto px = [&](float twips) { return static_cast<int>(std::lround(twips / twipsPerPixel)); };
    Image out(px(page.pageWidth), px(page.pageHeight), 0x00FFFFFF);
    auto fill = [&](int x0, int y0, int x1, int y1, auto colourAt) {
        for (int y = std::max(y0, 0); y < std::min(y1, out.height); ++y)
            for (int x = std::max(x0, 0); x < std::min(x1, out.width); ++x)
                out.at(x, y) = colourAt(x, y);
    };
    for (const auto& op : page.ops) {
        int x0 = px(op.x), y0 = px(op.y), x1 = px(op.x + op.width), y1 = px(op.y + op.height);
        if (op.kind == PrintOp::Kind::Text) {
            fill(x0, y0, x1, y1, [](int, int) { return 0u; });
        } else if (op.kind == PrintOp::Kind::Picture && !op.picture.empty() && x1 > x0 && y1 > y0) {
            fill(x0, y0, x1, y1, [&](int x, int y) {
                int sx = int(int64_t(x - x0) * op.picture.width / (x1 - x0));
                int sy = int(int64_t(y - y0) * op.picture.height / (y1 - y0));
                return op.picture.at(sx, sy);
            });
        }
    }
    return out;
}

}  // namespace orv::sim
