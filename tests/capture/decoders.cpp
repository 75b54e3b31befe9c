#include "capture/decoders.h"

#include <gif_lib.h>
#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace orv::testing {
namespace {

struct Reader {
    const std::vector<uint8_t>& d;
    std::size_t at = 0;
    bool ok = true;
    bool Has(std::size_t n) { return ok = ok && at + n <= d.size(); }
    uint32_t U8() { return Has(1) ? d[at++] : 0; }
    uint32_t U16LE() { return U8() | U8() << 8; }
    uint32_t U32LE() { return U16LE() | U16LE() << 16; }
};

Decoded Fail(std::string why) {
    Decoded d;
    d.error = std::move(why);
    return d;
}

}  // namespace

Decoded DecodeBmp(const std::vector<uint8_t>& file) {
    Reader r{file};
    if (r.U8() != 'B' || r.U8() != 'M') return Fail("signature");
    if (r.U32LE() != file.size()) return Fail("file size field");
    r.U32LE();
    const uint32_t offset = r.U32LE();
    if (r.U32LE() != 40) return Fail("header size");
    const int32_t w = int32_t(r.U32LE()), h = int32_t(r.U32LE());
    if (r.U16LE() != 1 || r.U16LE() != 24 || r.U32LE() != 0)
        return Fail("planes/depth/compression");
    const uint32_t imageSize = r.U32LE();
    if (w <= 0 || h <= 0) return Fail("not bottom-up or empty");
    const std::size_t stride = (std::size_t(w) * 3 + 3) & ~std::size_t(3);
    if (imageSize != stride * h || offset + imageSize != file.size()) return Fail("sizes");
    Decoded out;
    out.image = Image(w, h);
    for (int y = 0; y < h; ++y) {
        const uint8_t* row = &file[offset + (std::size_t(h - 1 - y)) * stride];
        for (int x = 0; x < w; ++x)
            out.image.at(x, y) =
                uint32_t(row[3 * x + 2]) << 16 | uint32_t(row[3 * x + 1]) << 8 | row[3 * x];
        for (std::size_t p = std::size_t(w) * 3; p < stride; ++p)
            if (row[p] != 0) return Fail("padding not zero");
    }
    return out;
}

// libpng: a decoder that shares nothing with ours, and checks every CRC.
Decoded DecodePng(const std::vector<uint8_t>& file) {
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&png, file.data(), file.size())) return Fail(png.message);
    Decoded out;
    out.bitDepth = file[24], out.colourType = file[25];  // IHDR, which libpng found first
    if (png.format & PNG_FORMAT_FLAG_COLORMAP) out.paletteSize = int(png.colormap_entries);
    png.format = PNG_FORMAT_RGB;
    std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(png));
    if (!png_image_finish_read(&png, nullptr, rgb.data(), 0, nullptr)) return Fail(png.message);
    out.image = Image(int(png.width), int(png.height));
    for (std::size_t i = 0; i < out.image.pixels.size(); ++i)
        out.image.pixels[i] =
            uint32_t(rgb[3 * i]) << 16 | uint32_t(rgb[3 * i + 1]) << 8 | rgb[3 * i + 2];
    return out;
}

namespace {

struct GifSource {
    const std::vector<uint8_t>& file;
    std::size_t at = 0;
};

int ReadGif(GifFileType* gif, GifByteType* to, int n) {
    auto& source = *static_cast<GifSource*>(gif->UserData);
    const std::size_t k = std::min(std::size_t(n), source.file.size() - source.at);
    std::memcpy(to, source.file.data() + source.at, k);
    source.at += k;
    return int(k);
}

// giflib stops reading codes once it has every pixel; a strict viewer goes
// on to the end code and rejects data that stops in the middle of it.
bool EndsWithTheEndCode(const std::vector<uint8_t>& file) {
    GifSource source{file};
    int error = 0;
    GifFileType* gif = DGifOpen(&source, ReadGif, &error);
    GifRecordType type;
    bool ok = gif && DGifGetRecordType(gif, &type) == GIF_OK && type == IMAGE_DESC_RECORD_TYPE &&
              DGifGetImageDesc(gif) == GIF_OK;
    for (int code = 0; ok && code != -1;) ok = DGifGetLZCodes(gif, &code) == GIF_OK;
    if (gif) DGifCloseFile(gif, &error);
    return ok;
}

}  // namespace

// giflib, and one image covering the screen with the global colour table.
Decoded DecodeGif(const std::vector<uint8_t>& file) {
    GifSource source{file};
    int error = 0;
    GifFileType* gif = DGifOpen(&source, ReadGif, &error);
    if (!gif) return Fail(GifErrorString(error));
    Decoded out;
    if (DGifSlurp(gif) != GIF_OK) {
        out.error = GifErrorString(gif->Error);
    } else if (gif->ImageCount != 1 || !gif->SColorMap || gif->SavedImages[0].ImageDesc.ColorMap) {
        out.error = "not one image with the global colour table";
    } else {
        const GifImageDesc& d = gif->SavedImages[0].ImageDesc;
        const ColorMapObject& map = *gif->SColorMap;
        out.paletteSize = map.ColorCount;
        out.interlaced = d.Interlace;
        if (d.Left || d.Top || d.Width != gif->SWidth || d.Height != gif->SHeight)
            out.error = "image descriptor";
        out.image = Image(d.Width, d.Height);
        for (std::size_t i = 0; i < out.image.pixels.size() && out.error.empty(); ++i) {
            const int index = gif->SavedImages[0].RasterBits[i];
            if (index >= map.ColorCount) out.error = "index beyond palette";
            const GifColorType c = map.Colors[index % map.ColorCount];
            out.image.pixels[i] = uint32_t(c.Red) << 16 | uint32_t(c.Green) << 8 | c.Blue;
        }
    }
    DGifCloseFile(gif, &error);
    if (out.error.empty() && !EndsWithTheEndCode(file)) out.error = "no end code";
    return out;
}

double Psnr(const Image& a, const Image& b) {
    if (a.width != b.width || a.height != b.height) return 0;
    double sum = 0;
    for (std::size_t i = 0; i < a.pixels.size(); ++i)
        for (int s = 0; s < 24; s += 8) {
            const double d = double((a.pixels[i] >> s) & 0xFF) - double((b.pixels[i] >> s) & 0xFF);
            sum += d * d;
        }
    if (sum == 0) return 999;
    const double mse = sum / (3.0 * double(a.pixels.size()));
    return 10 * std::log10(255.0 * 255.0 / mse);
}

}  // namespace orv::testing
