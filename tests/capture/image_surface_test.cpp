#include "capture/image_surface.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "capture/decoders.h"
#include "capture/test_images.h"
#include "capture_rig.h"
#include "platform/error.h"
#include "platform/sim/sim_desktop.h"

namespace orv {
namespace {

// Each pixel names its own position, so a wrong offset shows at once.
Image Numbered(int w, int h) {
    Image img(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) img.at(x, y) = uint32_t(x) << 12 | uint32_t(y);
    return img;
}

class Surface : public ::testing::Test {
  protected:
    sim::SimDesktop desktop;
    ImageSurface surface{desktop.clipboard, desktop.codecs};
};

// The selection, copied or cropped to, is exactly the pixels chosen; one
// that does not lie in the image is refused and changes nothing.
TEST_F(Surface, SelectionsCopyAndCropExactlyOrAreRefused) {
    struct Case {
        int x1, y1, x2, y2;
        std::optional<PixelRect> kept;
    };
    // clang-format off
    const Case cases[] = {
        {0, 0, 639, 479, PixelRect{0, 0, 639, 479}},       {10, 20, 109, 219, PixelRect{10, 20, 109, 219}},
        {109, 219, 10, 20, PixelRect{10, 20, 109, 219}},   {109, 20, 10, 219, PixelRect{10, 20, 109, 219}},
        {639, 479, 639, 479, PixelRect{639, 479, 639, 479}}, {0, 0, 640, 479, std::nullopt},
        {0, 0, 639, 480, std::nullopt},                    {-1, 0, 10, 10, std::nullopt},
        {INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, std::nullopt},
    };
    // clang-format on
    const Image full = Numbered(640, 480);
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.x1 << "," << c.y1 << " " << c.x2 << "," << c.y2);
        surface.SetImage(full);
        desktop.clipboard.SetText("before");
        surface.SelectRect(c.x1, c.y1, c.x2, c.y2);
        if (!c.kept) {
            EXPECT_THROW(surface.CopySelectionToClipboard(), Error);
            EXPECT_THROW(surface.CropToSelection(), Error);
            EXPECT_EQ(desktop.clipboard.text(), "before");
            EXPECT_EQ(surface.image(), full);
            continue;
        }
        const Image part =
            testing::Part(full, c.kept->left, c.kept->top, c.kept->right, c.kept->bottom);
        surface.CopySelectionToClipboard();
        EXPECT_EQ(desktop.clipboard.bitmap(), part);
        EXPECT_EQ(surface.image(), full);
        EXPECT_TRUE(surface.HasSelection());
        surface.CropToSelection();
        EXPECT_EQ(surface.image(), part);
        EXPECT_FALSE(surface.HasSelection());
    }
    surface.ClearSelection();
    EXPECT_THROW(surface.CropToSelection(), Error);
}

TEST_F(Surface, EffectsMapEachPixel) {
    struct Case {
        std::function<void(ImageSurface&)> apply;
        uint32_t black, white, brown;  // results for 0x000000, 0xFFFFFF and 0x804020
    };
    const Case cases[] = {
        {[](ImageSurface& s) { s.FadeImage(-40); }, 0, 0xFFFFFF, 0x804020},
        {[](ImageSurface& s) { s.FadeImage(80); }, 0x666666, 0xFFFFFF, 0xB38C79},  // 40 %
        {[](ImageSurface& s) { s.FadeImage(1000); }, 0xCCCCCC, 0xFFFFFF, 0xE6D9D2},
        {[](ImageSurface& s) { s.GreyscaleImage(); }, 0, 0xFFFFFF, 0x4F4F4F},
        {[](ImageSurface& s) { s.NegativeImage(); }, 0xFFFFFF, 0, 0x7FBFDF},
    };
    for (const Case& c : cases) {
        Image img(3, 1);
        img.pixels = {0xFF000000, 0x00FFFFFF, 0xAA804020};  // junk in the top byte is dropped
        surface.SetImage(img);
        c.apply(surface);
        EXPECT_EQ(surface.image().pixels, (std::vector<uint32_t>{c.black, c.white, c.brown}));
    }
}

TEST_F(Surface, PasteWaitsForABusyClipboardAndKeepsTheOldImageMeanwhile) {
    const Image old = Numbered(4, 4);
    surface.SetImage(old);
    surface.SelectRect(0, 0, 1, 1);
    desktop.clipboard.PutBitmap(Numbered(9, 7));
    desktop.clipboard.MakeBusy(2);
    for (int attempt = 0; attempt < 2; ++attempt) {
        EXPECT_THROW(surface.PasteFromClipboard(), Error);
        EXPECT_EQ(surface.image(), old);
        EXPECT_TRUE(surface.HasSelection());
    }
    surface.PasteFromClipboard();
    EXPECT_EQ(surface.image(), Numbered(9, 7));
    EXPECT_FALSE(surface.HasSelection());

    Image torn(100, 100);
    torn.pixels.resize(10);
    EXPECT_THROW(surface.SetImage(torn), Error);
    desktop.clipboard.PutBitmap(torn);
    EXPECT_THROW(surface.PasteFromClipboard(), Error);
    desktop.clipboard.SetText("not a picture");
    EXPECT_THROW(surface.PasteFromClipboard(), Error);
    EXPECT_EQ(surface.image(), Numbered(9, 7));
}

// What a save writes: each format's bytes of the image; none of an empty one.
TEST_F(Surface, GivesEachFormatsBytesOfTheImage) {
    const Image picture = testing::FewColours(33, 7, 12), rgb = testing::WithoutTopByte(picture);
    surface.SetImage(picture);
    const testing::Decoded gif = testing::DecodeGif(surface.GifBytes());
    EXPECT_EQ(gif.image, rgb);
    EXPECT_FALSE(gif.interlaced);
    EXPECT_EQ(testing::DecodePng(surface.PngBytes()).image, rgb);
    EXPECT_EQ(testing::DecodeBmp(platform::JoinPieces(surface.BmpPieces())).image, rgb);
    EXPECT_FALSE(surface.JpgBytes(100).empty());
    surface.ClearImage();
    EXPECT_THROW(surface.GifBytes(), Error);
    EXPECT_THROW(surface.PngBytes(), Error);
    EXPECT_THROW(surface.BmpPieces(), Error);
    EXPECT_THROW(surface.JpgBytes(100), Error);
}

// The selection window's own reaction to a new gesture.
TEST_F(Surface, LeftDragsDrawRectanglesClampedToTheImage) {
    std::string events;
    surface.SetImage(Numbered(100, 80));
    surface.SelectionBegun = [&] {
        events += "B";
        surface.ClearSelection();
        surface.StartSelection();
    };
    struct Case {
        int x1, y1, x2, y2;
        std::optional<PixelRect> expected;
    };
    // clang-format off
    const Case cases[] = {
        {10, 10, 30, 20, PixelRect{10, 10, 30, 20}},    {30, 20, 10, 10, PixelRect{10, 10, 30, 20}},
        {50, 40, -20, 500, PixelRect{0, 40, 50, 79}},   {-5, -5, 1000, 1000, PixelRect{0, 0, 99, 79}},
        {10, 10, 11, 10, PixelRect{10, 10, 11, 10}},    {10, 10, 10, 10, std::nullopt},  // a click clears
    };
    // clang-format on
    for (const Case& c : cases) {
        surface.SelectRect(1, 1, 2, 2);  // something to replace
        surface.MouseDown(MouseButton::Left, c.x1, c.y1);
        surface.MouseMove((c.x1 + c.x2) / 2, (c.y1 + c.y2) / 2);
        surface.MouseUp(MouseButton::Left, c.x2, c.y2);
        EXPECT_EQ(surface.selection(), c.expected)
            << c.x1 << "," << c.y1 << " " << c.x2 << "," << c.y2;
    }
    EXPECT_EQ(events, "BBBBBB");
    surface.MouseMove(0, 0);  // after release nothing follows the pointer
    EXPECT_EQ(surface.selection(), std::nullopt);
}

}  // namespace
}  // namespace orv
