#pragma once
// The picture holder behind the hidden window's capture and the area
// selection window: one image, one selection rectangle, the print effects,
// the clipboard transfers and the four file formats.
#include <functional>
#include <optional>
#include <string>

#include "output/save_to_file.h"
#include "platform/clipboard.h"
#include "platform/codecs.h"
#include "platform/forms.h"
#include "platform/image.h"

namespace orv {

using platform::MouseButton;

// Inclusive pixel corners: {0, 0, 639, 479} is 640 by 480.
struct PixelRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int width() const { return right - left + 1; }
    int height() const { return bottom - top + 1; }
    bool operator==(const PixelRect&) const = default;
};

// Every failure throws orv::Error; an operation that fails leaves the image
// and the selection as they were.
class ImageSurface : public SavableImage {
  public:
    ImageSurface(platform::Clipboard& clipboard, platform::Codecs& codecs);

    // Set once on creation by the host. autoSize: the surface takes the
    // image's size instead of its window's (on for the hidden window's
    // surface, which is never shown and must not clip the capture).
    // borderStyle: 0 none, 1 single line (0 on the selection surface, so
    // image pixel (0,0) sits on screen pixel (0,0)).
    bool autoSize = false;
    int borderStyle = 1;

    // The host's window size, set on every resize; ignored with autoSize.
    void SetViewSize(int width, int height);
    int viewWidth() const { return autoSize ? image_.width : viewWidth_; }
    int viewHeight() const { return autoSize ? image_.height : viewHeight_; }

    void PasteFromClipboard();
    void CopyToClipboard();
    void ClearImage();

    // Corners may come in either order: the rectangle spans between them.
    // It is checked against the image only when it is used.
    void SelectRect(int x1, int y1, int x2, int y2);
    void CropToSelection();
    bool HasSelection() const { return selection_.has_value(); }
    void CopySelectionToClipboard();
    void ClearSelection();
    void StartSelection();

    // Lightens towards white by amount / 2 percent of each channel's
    // distance to 255; amount is clamped to 0..160 (the dialog's 0..80 %).
    void FadeImage(int amount);
    void GreyscaleImage();  // luma 0.299 R + 0.587 G + 0.114 B, rounded
    void NegativeImage();

    // The picture as file bytes; the JPEG's quality is clamped to 1..100.
    std::vector<uint8_t> GifBytes() override;
    std::vector<uint8_t> PngBytes() override;
    platform::FilePieces BmpPieces() override;  // each piece made from the image as it is then
    std::vector<uint8_t> JpgBytes(int quality) override;

    const Image& image() const { return image_; }
    // Replaces the image and removes the selection; an image whose pixel
    // buffer does not match its size is refused.
    void SetImage(Image image);
    const std::optional<PixelRect>& selection() const { return selection_; }

    // Mouse gestures, in image pixels (clamped to the image). A left press
    // raises SelectionBegun, then drags a new rectangle from the press point
    // if selecting is allowed (after a paste, or StartSelection; not after a
    // ClearSelection alone). The rectangle exists once the pointer has left
    // the press pixel. A right press raises MenuArmed, a right release
    // MenuReleased. Errors thrown by a handler reach the caller.
    void MouseDown(MouseButton button, int x, int y);
    void MouseMove(int x, int y);
    void MouseUp(MouseButton button, int x, int y);

    std::function<void()> SelectionBegun;
    std::function<void()> MenuArmed;
    std::function<void()> MenuReleased;

  private:
    void RequireImage(const char* action) const;
    PixelRect RequireSelectionInImage() const;
    void Clamp(int& x, int& y) const;
    void Drag(int x, int y);

    platform::Clipboard& clipboard_;
    platform::Codecs& codecs_;
    Image image_;
    std::optional<PixelRect> selection_;
    int viewWidth_ = 0, viewHeight_ = 0;
    bool selecting_ = false, leftDown_ = false, dragging_ = false;
    int anchorX_ = 0, anchorY_ = 0;
};

}  // namespace orv
