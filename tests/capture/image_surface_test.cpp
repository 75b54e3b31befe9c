#include "capture/image_surface.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "capture/decoders.h"
#include "capture/test_images.h"
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
    ImageSurface surface{desktop.clipboard, desktop.files, desktop.codecs};
};

struct CropCase {
    const char* name;
    int x1, y1, x2, y2;
    std::optional<PixelRect> kept;  // nothing: the crop is refused
};

class Cropping : public Surface, public ::testing::WithParamInterface<CropCase> {};

TEST_P(Cropping, KeepsExactlyTheSelectedPixelsOrRefuses) {
    const CropCase c = GetParam();
    const Image full = Numbered(640, 480);
    surface.SetImage(full);
    surface.SelectRect(c.x1, c.y1, c.x2, c.y2);
    if (!c.kept) {
        EXPECT_THROW(surface.CropToSelection(), Error);
        EXPECT_EQ(surface.image(), full);
        EXPECT_TRUE(surface.HasSelection());
        return;
    }
    surface.CropToSelection();
    const PixelRect r = *c.kept;
    ASSERT_EQ(surface.image().width, r.width());
    ASSERT_EQ(surface.image().height, r.height());
    EXPECT_EQ(surface.image().at(0, 0), full.at(r.left, r.top));
    EXPECT_EQ(surface.image().at(r.width() - 1, r.height() - 1), full.at(r.right, r.bottom));
    EXPECT_EQ(surface.image().at(r.width() / 2, r.height() / 3),
              full.at(r.left + r.width() / 2, r.top + r.height() / 3));
    EXPECT_FALSE(surface.HasSelection());
}

INSTANTIATE_TEST_SUITE_P(
    Rectangles, Cropping,
    ::testing::Values(CropCase{"whole", 0, 0, 639, 479, PixelRect{0, 0, 639, 479}},
                      CropCase{"inner", 10, 20, 109, 219, PixelRect{10, 20, 109, 219}},
                      CropCase{"reversed", 109, 219, 10, 20, PixelRect{10, 20, 109, 219}},
                      CropCase{"mixed", 109, 20, 10, 219, PixelRect{10, 20, 109, 219}},
                      CropCase{"one_pixel", 639, 479, 639, 479, PixelRect{639, 479, 639, 479}},
                      CropCase{"one_column_too_wide", 0, 0, 640, 479, std::nullopt},
                      CropCase{"one_row_too_tall", 0, 0, 639, 480, std::nullopt},
                      CropCase{"negative_corner", -1, 0, 10, 10, std::nullopt},
                      CropCase{"far_outside", 5000, 5000, 6000, 6000, std::nullopt},
                      CropCase{"extreme_values", INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX,
                               std::nullopt}),
    [](const auto& p) { return std::string(p.param.name); });

TEST_F(Surface, CropAndSelectionCopyNeedARectangleAndAnImage) {
    EXPECT_THROW(surface.CropToSelection(), Error);
    surface.SelectRect(0, 0, 0, 0);
    EXPECT_THROW(surface.CropToSelection(), Error);  // no image: nothing lies in it
    surface.SetImage(Numbered(8, 8));
    EXPECT_THROW(surface.CopySelectionToClipboard(), Error);
    EXPECT_FALSE(desktop.clipboard.bitmap().has_value());
}

TEST_F(Surface, SelectionGoesToTheClipboardAndTheImageStays) {
    const Image full = Numbered(50, 40);
    surface.SetImage(full);
    surface.SelectRect(49, 39, 40, 30);
    surface.CopySelectionToClipboard();
    ASSERT_TRUE(desktop.clipboard.bitmap().has_value());
    const Image& part = *desktop.clipboard.bitmap();
    ASSERT_EQ(part.width, 10);
    ASSERT_EQ(part.height, 10);
    EXPECT_EQ(part.at(0, 0), full.at(40, 30));
    EXPECT_EQ(part.at(9, 9), full.at(49, 39));
    EXPECT_EQ(surface.image(), full);
    EXPECT_TRUE(surface.HasSelection());
    surface.ClearSelection();
    EXPECT_FALSE(surface.HasSelection());
    EXPECT_EQ(surface.image(), full);
}

struct EffectCase {
    const char* name;
    std::function<void(ImageSurface&)> apply;
    uint32_t black, white, brown;  // results for 0x000000, 0xFFFFFF and 0x804020
};

class Effects : public Surface, public ::testing::WithParamInterface<EffectCase> {};

TEST_P(Effects, MapEachPixel) {
    const EffectCase c = GetParam();
    Image img(3, 1);
    img.pixels = {0xFF000000, 0x00FFFFFF, 0xAA804020};  // junk in the top byte is dropped
    surface.SetImage(img);
    c.apply(surface);
    EXPECT_EQ(surface.image().pixels, (std::vector<uint32_t>{c.black, c.white, c.brown}));
}

INSTANTIATE_TEST_SUITE_P(
    PrintEffects, Effects,
    ::testing::Values(
        EffectCase{"fade_none", [](ImageSurface& s) { s.FadeImage(0); }, 0, 0xFFFFFF, 0x804020},
        EffectCase{"fade_below_range", [](ImageSurface& s) { s.FadeImage(-40); }, 0, 0xFFFFFF,
                   0x804020},
        EffectCase{"fade_40_percent", [](ImageSurface& s) { s.FadeImage(80); }, 0x666666, 0xFFFFFF,
                   0xB38C79},
        EffectCase{"fade_above_range", [](ImageSurface& s) { s.FadeImage(1000); }, 0xCCCCCC,
                   0xFFFFFF, 0xE6D9D2},
        EffectCase{"greyscale", [](ImageSurface& s) { s.GreyscaleImage(); }, 0, 0xFFFFFF, 0x4F4F4F},
        EffectCase{"negative", [](ImageSurface& s) { s.NegativeImage(); }, 0xFFFFFF, 0, 0x7FBFDF},
        EffectCase{"all_three_in_print_order",
                   [](ImageSurface& s) {
                       s.FadeImage(80);
                       s.GreyscaleImage();
                       s.NegativeImage();
                   },
                   0x999999, 0, 0x6A6A6A}),
    [](const auto& p) { return std::string(p.param.name); });

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

    desktop.clipboard.SetText("not a picture");
    EXPECT_THROW(surface.PasteFromClipboard(), Error);
    EXPECT_EQ(surface.image(), Numbered(9, 7));
}

TEST_F(Surface, CopyPutsTheWholeImageOnTheClipboardAndAnEmptyOneIsRefused) {
    desktop.clipboard.SetText("kept");
    EXPECT_THROW(surface.CopyToClipboard(), Error);
    EXPECT_EQ(desktop.clipboard.text(), "kept");
    surface.SetImage(Numbered(5, 3));
    surface.CopyToClipboard();
    EXPECT_EQ(desktop.clipboard.bitmap(), Numbered(5, 3));
    surface.ClearImage();
    EXPECT_TRUE(surface.image().empty());
    EXPECT_THROW(surface.CopyToClipboard(), Error);
}

TEST_F(Surface, ATornPictureIsRefusedAndTheOldOneKept) {
    surface.SetImage(Numbered(4, 4));
    Image torn(100, 100);
    torn.pixels.resize(10);
    EXPECT_THROW(surface.SetImage(torn), Error);
    desktop.clipboard.PutBitmap(torn);
    EXPECT_THROW(surface.PasteFromClipboard(), Error);
    EXPECT_EQ(surface.image(), Numbered(4, 4));
}

struct SaveCase {
    const char* name;
    std::function<void(ImageSurface&, const std::string&)> save;
    std::function<testing::Decoded(const std::vector<uint8_t>&)> decode;
    double minPsnr;
};

class Saving : public Surface, public ::testing::WithParamInterface<SaveCase> {};

TEST_P(Saving, WritesADecodableFileThroughTheFileService) {
    const SaveCase c = GetParam();
    const Image picture = testing::FewColours(33, 7, 12);
    surface.SetImage(picture);
    c.save(surface, "C:\\shot");
    const auto bytes = desktop.files.Read("C:\\shot");
    ASSERT_TRUE(bytes.has_value());
    const testing::Decoded d = c.decode(*bytes);
    ASSERT_EQ(d.error, "");
    EXPECT_GE(testing::Psnr(d.image, picture), c.minPsnr);
}

TEST_P(Saving, RefusesAnEmptyImageAndReportsAFailedWrite) {
    const SaveCase c = GetParam();
    try {
        c.save(surface, "C:\\empty");
        FAIL() << "an empty image was saved";
    } catch (const Error& e) {
        EXPECT_EQ(e.description(), "There is no image to save");
    }
    EXPECT_FALSE(desktop.files.Read("C:\\empty").has_value());

    surface.SetImage(Numbered(3, 3));
    EXPECT_THROW(c.save(surface, "D:\\missing\\shot"), Error);
    desktop.files.FailNext(sim::SimFiles::Step::Write);
    EXPECT_THROW(c.save(surface, "C:\\shot"), Error);
    EXPECT_NO_THROW(c.save(surface, "C:\\shot"));
}

INSTANTIATE_TEST_SUITE_P(
    Formats, Saving,
    ::testing::Values(
        SaveCase{"gif", [](ImageSurface& s, const std::string& p) { s.SaveGif(p, false); },
                 testing::DecodeGif, 999},
        SaveCase{"png", [](ImageSurface& s, const std::string& p) { s.SavePng(p); },
                 testing::DecodePng, 999},
        SaveCase{"bmp", [](ImageSurface& s, const std::string& p) { s.SaveBmp(p); },
                 testing::DecodeBmp, 999},
        SaveCase{"jpg",
                 [](ImageSurface& s, const std::string& p) { s.SaveJpg(p, 100, true, false); },
                 testing::DecodeJpeg, 20}),
    [](const auto& p) { return std::string(p.param.name); });

// The selection window's own reaction to a new gesture.
class Gestures : public Surface {
  protected:
    std::string events;
    void SetUp() override {
        surface.SetImage(Numbered(100, 80));
        surface.SelectionBegun = [this] {
            events += "B";
            surface.ClearSelection();
            surface.StartSelection();
        };
    }
    void Drag(int x1, int y1, int x2, int y2) {
        surface.MouseDown(MouseButton::Left, x1, y1);
        surface.MouseMove((x1 + x2) / 2, (y1 + y2) / 2);
        surface.MouseUp(MouseButton::Left, x2, y2);
    }
};

TEST_F(Gestures, LeftDragsDrawRectanglesClampedToTheImage) {
    struct Case {
        int x1, y1, x2, y2;
        std::optional<PixelRect> expected;
    };
    const Case cases[] = {
        {10, 10, 30, 20, PixelRect{10, 10, 30, 20}},
        {30, 20, 10, 10, PixelRect{10, 10, 30, 20}},
        {50, 40, -20, 500, PixelRect{0, 40, 50, 79}},
        {-5, -5, 1000, 1000, PixelRect{0, 0, 99, 79}},
        {10, 10, 11, 10, PixelRect{10, 10, 11, 10}},
        {10, 10, 10, 10, std::nullopt},  // a click clears
    };
    for (const Case& c : cases) {
        surface.SelectRect(1, 1, 2, 2);  // something to replace
        Drag(c.x1, c.y1, c.x2, c.y2);
        EXPECT_EQ(surface.selection(), c.expected)
            << c.x1 << "," << c.y1 << " " << c.x2 << "," << c.y2;
        EXPECT_EQ(surface.HasSelection(), c.expected.has_value());
    }
    EXPECT_EQ(events, "BBBBBB");
    surface.MouseMove(0, 0);  // after release nothing follows the pointer
    EXPECT_EQ(surface.selection(), std::nullopt);
}

}  // namespace
}  // namespace orv
