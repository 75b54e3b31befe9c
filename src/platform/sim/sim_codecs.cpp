#include "platform/sim/sim_codecs.h"

#include <cstdio>
#include <jpeglib.h>

#include "platform/error.h"

namespace orv::sim {

std::vector<uint8_t> SimCodecs::EncodeJpeg(const Image& image, int quality) {
    if (image.empty()) throw Error(480, "The image is empty");
    jpeg_compress_struct c{};
    jpeg_error_mgr jerr{};
    c.err = jpeg_std_error(&jerr);
    jerr.error_exit = [](j_common_ptr) { throw Error(31037, "JPEG encoding failed"); };
    unsigned char* out = nullptr;
    unsigned long size = 0;
    std::vector<uint8_t> result;
    try {
        jpeg_create_compress(&c);
        jpeg_mem_dest(&c, &out, &size);
        c.image_width = static_cast<JDIMENSION>(image.width);
        c.image_height = static_cast<JDIMENSION>(image.height);
        c.input_components = 3;
        c.in_color_space = JCS_RGB;
        jpeg_set_defaults(&c);
        jpeg_set_quality(&c, quality < 1 ? 1 : quality > 100 ? 100 : quality, TRUE);
        jpeg_start_compress(&c, TRUE);
        std::vector<unsigned char> row(std::size_t(image.width) * 3);
        while (c.next_scanline < c.image_height) {
            const uint32_t* src = &image.pixels[std::size_t(c.next_scanline) * image.width];
            for (int x = 0; x < image.width; ++x) {
                row[x * 3] = static_cast<unsigned char>(src[x] >> 16);
                row[x * 3 + 1] = static_cast<unsigned char>(src[x] >> 8);
                row[x * 3 + 2] = static_cast<unsigned char>(src[x]);
            }
            JSAMPROW r = row.data();
            jpeg_write_scanlines(&c, &r, 1);
        }
        jpeg_finish_compress(&c);
        result.assign(out, out + size);
    } catch (...) {
        jpeg_destroy_compress(&c);
        std::free(out);
        throw;
    }
    jpeg_destroy_compress(&c);
    std::free(out);
    return result;
}

}  // namespace orv::sim
