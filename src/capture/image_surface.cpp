#include "capture/image_surface.h"

#include <algorithm>
#include <cstring>

#include "imaging/bmp_encoder.h"
#include "imaging/encoding.h"
#include "imaging/gif_encoder.h"
#include "imaging/png_encoder.h"
#include "platform/error.h"
#include "platform/trace.h"

namespace orv {

namespace {
// The program's own pictures (a selected part, the print job's copy) stay out
// of the user's clipboard history and off their other devices: they would
// push out what the user copied.
constexpr platform::ClipboardFlag kOwnWrite[] = {
    {"ExcludeClipboardContentFromMonitorProcessing", 0},
    {"CanIncludeInClipboardHistory", 0},
    {"CanUploadToCloudClipboard", 0},
};
}  // namespace

ImageSurface::ImageSurface(platform::Clipboard& clipboard, platform::Codecs& codecs)
    : clipboard_(clipboard), codecs_(codecs) {}

void ImageSurface::SetViewSize(int width, int height) {
    viewWidth_ = std::max(0, width);
    viewHeight_ = std::max(0, height);
}

void ImageSurface::RequireImage(const char* action) const {
    if (image_.empty())
        throw Error(err::kInvalidCall, std::string("There is no image to ") + action);
}

void ImageSurface::SetImage(Image image) {
    if (!image.empty()) encoding::RequirePicture(image);  // a torn buffer is refused whole
    if (image.empty()) image = Image{};
    image_ = std::move(image);
    selection_.reset();
    selecting_ = !image_.empty();
    leftDown_ = dragging_ = false;
}

void ImageSurface::PasteFromClipboard() {
    ORV_MARK("paste begins");
    SetImage(clipboard_.GetBitmap());
}

void ImageSurface::CopyToClipboard() {
    RequireImage("copy");
    clipboard_.SetBitmap(image_, kOwnWrite);
}

void ImageSurface::ClearImage() {
    SetImage(Image{});
}

void ImageSurface::SelectRect(int x1, int y1, int x2, int y2) {
    selection_ = PixelRect{std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
    dragging_ = false;
}

PixelRect ImageSurface::RequireSelectionInImage() const {
    if (!selection_) throw Error(err::kInvalidCall, "No area of the image is selected");
    const PixelRect r = *selection_;
    if (r.left < 0 || r.top < 0 || r.right >= image_.width || r.bottom >= image_.height)
        throw Error(err::kInvalidCall, "The selected area does not lie within the image");
    return r;
}

void ImageSurface::CropToSelection() {
    const PixelRect r = RequireSelectionInImage();
    // In place, rows moving towards the front: a capture never holds two
    // full frames at once.
    const std::size_t w = std::size_t(r.width());
    for (int y = 0; y < r.height(); ++y)
        std::memmove(&image_.pixels[std::size_t(y) * w],
                     &image_.pixels[std::size_t(r.top + y) * image_.width + r.left], w * 4);
    image_.pixels.resize(w * std::size_t(r.height()));
    image_.width = r.width();
    image_.height = r.height();
    selection_.reset();
    dragging_ = false;
}

void ImageSurface::CopySelectionToClipboard() {
    const PixelRect r = RequireSelectionInImage();
    Image part(r.width(), r.height());
    for (int y = 0; y < r.height(); ++y)
        std::memcpy(&part.at(0, y), &image_.at(r.left, r.top + y), std::size_t(r.width()) * 4);
    clipboard_.SetBitmap(part, kOwnWrite);
}

void ImageSurface::ClearSelection() {
    selection_.reset();
    selecting_ = dragging_ = false;
}

void ImageSurface::StartSelection() {
    selecting_ = !image_.empty();
    if (selecting_ && leftDown_ && !dragging_) {
        dragging_ = true;
        selection_.reset();
    }
}

void ImageSurface::FadeImage(int amount) {
    const uint32_t a = static_cast<uint32_t>(std::clamp(amount, 0, 160));
    uint8_t table[256];
    for (uint32_t c = 0; c < 256; ++c)
        table[c] = static_cast<uint8_t>(c + ((255 - c) * a + 100) / 200);
    for (uint32_t& p : image_.pixels)
        p = uint32_t(table[(p >> 16) & 0xFF]) << 16 | uint32_t(table[(p >> 8) & 0xFF]) << 8 |
            table[p & 0xFF];
}

void ImageSurface::GreyscaleImage() {
    for (uint32_t& p : image_.pixels) {
        const uint32_t r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
        const uint32_t y = (299 * r + 587 * g + 114 * b + 500) / 1000;
        p = y << 16 | y << 8 | y;
    }
}

void ImageSurface::NegativeImage() {
    for (uint32_t& p : image_.pixels) p = ~p & 0x00FFFFFFu;
}

std::vector<uint8_t> ImageSurface::GifBytes() {
    RequireImage("save");
    return EncodeGif(image_);
}

std::vector<uint8_t> ImageSurface::PngBytes() {
    RequireImage("save");
    return EncodePng(image_);
}

platform::FilePieces ImageSurface::BmpPieces() {
    RequireImage("save");
    encoding::RequirePicture(image_);
    return [this](std::size_t index, std::vector<uint8_t>& out) {
        return BmpPiece(image_, index, out);
    };
}

std::vector<uint8_t> ImageSurface::JpgBytes(int quality) {
    RequireImage("save");
    encoding::RequirePicture(image_);
    return codecs_.EncodeJpeg(image_, std::clamp(quality, 1, 100));
}

void ImageSurface::Clamp(int& x, int& y) const {
    x = std::clamp(x, 0, std::max(0, image_.width - 1));
    y = std::clamp(y, 0, std::max(0, image_.height - 1));
}

void ImageSurface::Drag(int x, int y) {
    Clamp(x, y);
    if (x == anchorX_ && y == anchorY_) {
        selection_.reset();
        return;
    }
    selection_ = PixelRect{std::min(x, anchorX_), std::min(y, anchorY_), std::max(x, anchorX_),
                           std::max(y, anchorY_)};
}

void ImageSurface::MouseDown(MouseButton button, int x, int y) {
    if (button == MouseButton::Right) {
        if (MenuArmed) MenuArmed();
        return;
    }
    if (button != MouseButton::Left || image_.empty()) return;
    Clamp(x, y);
    anchorX_ = x;
    anchorY_ = y;
    leftDown_ = true;
    dragging_ = false;
    if (SelectionBegun) SelectionBegun();
    if (selecting_ && leftDown_ && !dragging_) {
        dragging_ = true;
        selection_.reset();
    }
}

void ImageSurface::MouseMove(int x, int y) {
    if (dragging_) Drag(x, y);
}

void ImageSurface::MouseUp(MouseButton button, int x, int y) {
    if (button == MouseButton::Right) {
        if (MenuReleased) MenuReleased();
        return;
    }
    if (button != MouseButton::Left) return;
    if (dragging_) Drag(x, y);
    leftDown_ = dragging_ = false;
}

}  // namespace orv
