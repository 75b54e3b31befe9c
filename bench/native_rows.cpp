#include "native_rows.h"

#include <malloc.h>
#include <png.h>

#include <cstdio>
#include <stdexcept>

#include "capture/image_surface.h"
#include "heap_counter.h"
#include "platform/sim/sim_desktop.h"

namespace orv::bench {
namespace {

std::vector<uint8_t> LibpngEncode(const Image& image) {
    std::vector<uint8_t> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        throw std::runtime_error("libpng failed");
    }
    png_set_write_fn(
        png, &out,
        [](png_structp p, png_bytep data, png_size_t n) {
            auto* v = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(p));
            v->insert(v->end(), data, data + n);
        },
        nullptr);
    png_set_IHDR(png, info, png_uint_32(image.width), png_uint_32(image.height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    std::vector<uint8_t> row(std::size_t(image.width) * 3);
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const uint32_t p = image.at(x, y);
            row[3 * x] = uint8_t(p >> 16), row[3 * x + 1] = uint8_t(p >> 8),
                    row[3 * x + 2] = uint8_t(p);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

// The file's bytes are held whole before they are written, as saving does;
// a bitmap's one piece at a time.
void HeapRow(const Shot& shot, const char* format,
             const std::function<std::vector<uint8_t>(ImageSurface&)>& encode) {
    sim::SimDesktop desktop;
    desktop.clipboard.PutBitmap(shot.image);  // the system's copy, there before the capture
    const double frame = double(shot.image.pixels.size()) * 4;
    std::size_t peak = 0;
    {
        const std::size_t base = HeapInUse();
        ResetPeak();
        ImageSurface surface(desktop.clipboard, desktop.codecs);
        surface.PasteFromClipboard();
        surface.SelectRect(0, 0, shot.image.width * 7 / 8, shot.image.height * 7 / 8);
        surface.CropToSelection();
        const std::vector<uint8_t> bytes = encode(surface);
        peak = HeapPeak() - base;
    }
    std::printf("heap\t%s %s\t%.2f\n", shot.name, format, double(peak) / frame);
}

}  // namespace

std::function<std::vector<uint8_t>(const Image&)> Libpng() {
    return LibpngEncode;
}

void FreshPagesLikeWindows() {
    // A fixed threshold also stops glibc raising it after the first free.
    if (mallopt(M_MMAP_THRESHOLD, 1 << 20) != 1) std::perror("mallopt");
}

void NativeRows(const std::vector<Shot>& shots) {
    for (const Shot& shot : shots) {
        if (shot.image.width > 2000) continue;
        HeapRow(shot, "png", [](ImageSurface& s) { return s.PngBytes(); });
        HeapRow(shot, "gif", [](ImageSurface& s) { return s.GifBytes(); });
        HeapRow(shot, "bmp", [](ImageSurface& s) {
            std::vector<uint8_t> piece;  // as a save writes them: one piece at a time
            const platform::FilePieces pieces = s.BmpPieces();
            for (std::size_t i = 0; pieces(i, piece);) ++i;
            return piece;
        });
        HeapRow(shot, "jpg", [](ImageSurface& s) { return s.JpgBytes(75); });
    }
}

}  // namespace orv::bench
