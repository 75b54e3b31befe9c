#include "platform/sim/sim_codecs.h"

#include <jpeglib.h>

#include <csetjmp>
#include <cstdio>  // jpeglib.h needs FILE and size_t first
#include <cstdlib>
#include <cstring>

#include "platform/error.h"

namespace orv::sim {
namespace {

constexpr long kJpegFailed = 31037;

// libjpeg reports fatal errors through error_exit, which must not return. An
// exception thrown from there would unwind through C frames, so the handler
// jumps back to the one frame below that called into the library.
struct JumpingErrors {
    jpeg_error_mgr mgr;
    std::jmp_buf back;
    char message[JMSG_LENGTH_MAX];
};

void JumpBack(j_common_ptr c) {
    auto* e = reinterpret_cast<JumpingErrors*>(c->err);
    (*c->err->format_message)(c, e->message);
    std::longjmp(e->back, 1);
}

void SilentMessage(j_common_ptr) {}

// Everything that libjpeg touches lives in this plain struct, so a jump
// back skips no destructor and no register-cached local.
struct Job {
    jpeg_compress_struct c;
    JumpingErrors errors;
    unsigned char* out;
    unsigned long size;
    unsigned char* row;
};

void FillRow(const Image& image, JDIMENSION y, unsigned char* row) {
    const uint32_t* src = &image.pixels[std::size_t(y) * image.width];
    for (int x = 0; x < image.width; ++x) {
        row[x * 3] = static_cast<unsigned char>(src[x] >> 16);
        row[x * 3 + 1] = static_cast<unsigned char>(src[x] >> 8);
        row[x * 3 + 2] = static_cast<unsigned char>(src[x]);
    }
}

// Returns false with job.errors.message set when libjpeg gave up.
bool Encode(Job& job, const Image& image, int quality) {
    jpeg_compress_struct& c = job.c;
    c.err = jpeg_std_error(&job.errors.mgr);
    job.errors.mgr.error_exit = JumpBack;
    job.errors.mgr.output_message = SilentMessage;
    if (setjmp(job.errors.back)) return false;
    jpeg_create_compress(&c);
    jpeg_mem_dest(&c, &job.out, &job.size);
    c.image_width = static_cast<JDIMENSION>(image.width);
    c.image_height = static_cast<JDIMENSION>(image.height);
    c.input_components = 3;
    c.in_color_space = JCS_RGB;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, quality, TRUE);
    jpeg_start_compress(&c, TRUE);
    while (c.next_scanline < c.image_height) {
        FillRow(image, c.next_scanline, job.row);
        JSAMPROW r = job.row;
        jpeg_write_scanlines(&c, &r, 1);
    }
    jpeg_finish_compress(&c);
    return true;
}

}  // namespace

std::vector<uint8_t> SimCodecs::EncodeJpeg(const Image& image, int quality) {
    if (image.empty() || image.pixels.size() != std::size_t(image.width) * image.height)
        throw Error(err::kInvalidCall, "There is no image to encode");
    quality = quality < 1 ? 1 : quality > 100 ? 100 : quality;
    std::vector<unsigned char> row(std::size_t(image.width) * 3);
    Job job;
    std::memset(&job, 0, sizeof job);
    job.row = row.data();
    const bool ok = Encode(job, image, quality);
    struct Release {
        Job& job;
        ~Release() {
            jpeg_destroy_compress(&job.c);
            std::free(job.out);
        }
    } release{job};
    if (!ok) throw Error(kJpegFailed, std::string("JPEG encoding failed: ") + job.errors.message);
    return std::vector<uint8_t>(job.out, job.out + job.size);
}

}  // namespace orv::sim
