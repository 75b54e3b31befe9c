#include "capture/decoders.h"

#include <cmath>
#include <csetjmp>
#include <cstdio>  // jpeglib.h needs FILE and size_t first
#include <cstdlib>
#include <cstring>

#include <jpeglib.h>
#include <zlib.h>

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
    uint32_t U32BE() { return U8() << 24 | U8() << 16 | U8() << 8 | U8(); }
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

Decoded DecodePng(const std::vector<uint8_t>& file) {
    static const uint8_t kSig[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (file.size() < 8 || std::memcmp(file.data(), kSig, 8) != 0) return Fail("signature");
    Reader r{file, 8};
    Decoded out;
    uint32_t w = 0, h = 0;
    std::vector<uint32_t> palette;
    std::vector<uint8_t> zdata;
    bool ended = false, first = true;
    while (!ended) {
        const uint32_t len = r.U32BE();
        if (!r.Has(std::size_t(len) + 8)) return Fail("truncated chunk");
        const std::string type(file.begin() + r.at, file.begin() + r.at + 4);
        const uint8_t* body = &file[r.at + 4];
        const uLong crc = crc32(0, &file[r.at], len + 4);
        r.at += 4 + len;
        if (r.U32BE() != crc) return Fail("CRC of " + type);
        if (first != (type == "IHDR")) return Fail("IHDR not first");
        first = false;
        if (type == "IHDR") {
            Reader b{std::vector<uint8_t>(body, body + len)};
            w = b.U32BE(), h = b.U32BE();
            out.bitDepth = int(b.U8()), out.colourType = int(b.U8());
            if (b.U8() || b.U8() || b.U8()) return Fail("compression/filter/interlace");
        } else if (type == "PLTE") {
            if (len % 3 || len == 0 || len > 768) return Fail("palette length");
            for (uint32_t i = 0; i < len; i += 3)
                palette.push_back(uint32_t(body[i]) << 16 | uint32_t(body[i + 1]) << 8 |
                                  body[i + 2]);
        } else if (type == "IDAT") {
            zdata.insert(zdata.end(), body, body + len);
        } else if (type == "IEND") {
            ended = true;
        } else if (!(type[0] & 0x20)) {
            return Fail("unknown critical chunk " + type);
        }
    }
    if (r.at != file.size()) return Fail("bytes after IEND");
    out.paletteSize = int(palette.size());
    const int channels = out.colourType == 2 ? 3 : out.colourType == 3 ? 1 : 0;
    if (channels == 0 || (channels == 3 && out.bitDepth != 8) || (channels == 1 && palette.empty()))
        return Fail("unsupported colour type");
    const std::size_t bitsPerPixel = std::size_t(channels) * out.bitDepth;
    const std::size_t rowBytes = (std::size_t(w) * bitsPerPixel + 7) / 8,
                      bpp = (bitsPerPixel + 7) / 8;
    std::vector<uint8_t> raw((rowBytes + 1) * h);
    uLongf rawSize = uLongf(raw.size());
    if (uncompress(raw.data(), &rawSize, zdata.data(), uLong(zdata.size())) != Z_OK ||
        rawSize != raw.size())
        return Fail("deflate data");
    out.image = Image(int(w), int(h));
    std::vector<uint8_t> prior(rowBytes, 0), cur(rowBytes);
    for (uint32_t y = 0; y < h; ++y) {
        const uint8_t* src = &raw[y * (rowBytes + 1)];
        const uint8_t filter = src[0];
        for (std::size_t i = 0; i < rowBytes; ++i) {
            const int a = i >= bpp ? cur[i - bpp] : 0, b = prior[i],
                      c = i >= bpp ? prior[i - bpp] : 0;
            int pred = 0;
            switch (filter) {
                case 0:
                    pred = 0;
                    break;
                case 1:
                    pred = a;
                    break;
                case 2:
                    pred = b;
                    break;
                case 3:
                    pred = (a + b) / 2;
                    break;
                case 4: {
                    const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b),
                              pc = std::abs(p - c);
                    pred = pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
                    break;
                }
                default:
                    return Fail("filter type");
            }
            cur[i] = uint8_t(src[1 + i] + pred);
        }
        for (uint32_t x = 0; x < w; ++x) {
            uint32_t px;
            if (channels == 3) {
                px = uint32_t(cur[3 * x]) << 16 | uint32_t(cur[3 * x + 1]) << 8 | cur[3 * x + 2];
            } else {
                const std::size_t bit = std::size_t(x) * out.bitDepth;
                const unsigned index =
                    (cur[bit / 8] >> (8 - out.bitDepth - bit % 8)) & ((1u << out.bitDepth) - 1);
                if (index >= palette.size()) return Fail("index beyond palette");
                px = palette[index];
            }
            out.image.at(int(x), int(y)) = px;
        }
        prior.swap(cur);
    }
    return out;
}

Decoded DecodeGif(const std::vector<uint8_t>& file) {
    Reader r{file};
    std::string sig;
    for (int i = 0; i < 6; ++i) sig += char(r.U8());
    if (sig != "GIF89a" && sig != "GIF87a") return Fail("signature");
    const uint32_t sw = r.U16LE(), sh = r.U16LE(), flags = r.U8();
    r.U8(), r.U8();
    std::vector<uint32_t> palette;
    if (flags & 0x80)
        for (int i = 0; i < (2 << (flags & 7)); ++i)
            palette.push_back(r.U8() << 16 | r.U8() << 8 | r.U8());
    Decoded out;
    out.paletteSize = int(palette.size());
    while (r.ok) {
        const uint32_t block = r.U8();
        if (block == 0x3B) break;
        if (block == 0x21) {  // extension: label, sub-blocks
            r.U8();
            for (uint32_t n; (n = r.U8()) != 0 && r.Has(n);) r.at += n;
            continue;
        }
        if (block != 0x2C) return Fail("unknown block");
        const uint32_t left = r.U16LE(), top = r.U16LE(), w = r.U16LE(), h = r.U16LE(), f = r.U8();
        if (left || top || w != sw || h != sh || (f & 0x80)) return Fail("image descriptor");
        out.interlaced = f & 0x40;
        const int minCode = int(r.U8());
        if (minCode < 2 || minCode > 8) return Fail("code size");
        std::vector<uint8_t> data;
        for (uint32_t n; (n = r.U8()) != 0;) {
            if (!r.Has(n)) return Fail("truncated data");
            data.insert(data.end(), file.begin() + r.at, file.begin() + r.at + n);
            r.at += n;
        }
        // LZW, written from the format's description.
        const int clear = 1 << minCode, eoi = clear + 1;
        std::vector<int> prefix(4096, -1);
        std::vector<uint8_t> suffix(4096), stack;
        for (int i = 0; i < clear; ++i) suffix[i] = uint8_t(i);
        std::vector<uint8_t> indices;
        int size = minCode + 1, avail = eoi + 1, old = -1;
        uint8_t firstChar = 0;
        std::size_t bitPos = 0;
        bool sawEoi = false;
        while ((bitPos + size) <= data.size() * 8) {
            int code = 0;
            for (int b = 0; b < size; ++b, ++bitPos)
                code |= ((data[bitPos / 8] >> (bitPos % 8)) & 1) << b;
            if (code == clear) {
                size = minCode + 1, avail = eoi + 1, old = -1;
                continue;
            }
            if (code == eoi) {
                sawEoi = true;
                break;
            }
            if (old < 0) {
                if (code >= clear) return Fail("first code not a colour");
                indices.push_back(firstChar = uint8_t(code));
                old = code;
                continue;
            }
            int in = code;
            if (code > avail) return Fail("code beyond table");
            if (code == avail) stack.push_back(firstChar), code = old;
            while (code >= clear) stack.push_back(suffix[code]), code = prefix[code];
            stack.push_back(firstChar = suffix[code]);
            indices.insert(indices.end(), stack.rbegin(), stack.rend());
            stack.clear();
            if (avail < 4096) {
                prefix[avail] = old, suffix[avail] = firstChar;
                if (++avail == (1 << size) && size < 12) ++size;
            }
            old = in;
        }
        if (!sawEoi) return Fail("no end code");
        if (indices.size() != std::size_t(w) * h) return Fail("pixel count");
        std::vector<int> rows;
        if (out.interlaced) {
            const int start[] = {0, 4, 2, 1}, step[] = {8, 8, 4, 2};
            for (int p = 0; p < 4; ++p)
                for (int y = start[p]; y < int(h); y += step[p]) rows.push_back(y);
        } else {
            for (int y = 0; y < int(h); ++y) rows.push_back(y);
        }
        out.image = Image(int(w), int(h));
        for (std::size_t i = 0; i < indices.size(); ++i) {
            if (indices[i] >= palette.size()) return Fail("index beyond palette");
            out.image.at(int(i % w), rows[i / w]) = palette[indices[i]];
        }
    }
    if (!r.ok) return Fail("truncated file");
    if (out.image.empty()) return Fail("no image");
    return out;
}

namespace {
struct JpegErrors {
    jpeg_error_mgr mgr;
    std::jmp_buf back;
};
void JumpBack(j_common_ptr c) {
    std::longjmp(reinterpret_cast<JpegErrors*>(c->err)->back, 1);
}

bool ReadJpeg(const std::vector<uint8_t>& file, Decoded& out, jpeg_decompress_struct& d,
              JpegErrors& e, std::vector<uint8_t>& row) {
    Image& image = out.image;
    d.err = jpeg_std_error(&e.mgr);
    e.mgr.error_exit = JumpBack;
    if (setjmp(e.back)) return false;
    jpeg_create_decompress(&d);
    jpeg_mem_src(&d, file.data(), (unsigned long)file.size());
    jpeg_read_header(&d, TRUE);
    d.out_color_space = JCS_RGB;
    jpeg_start_decompress(&d);
    out.components = d.num_components;
    out.chromaSubsampled = d.num_components == 3 && d.comp_info[0].h_samp_factor > 1;
    image.width = int(d.output_width), image.height = int(d.output_height);
    image.pixels.resize(std::size_t(image.width) * image.height);
    row.resize(std::size_t(image.width) * 3);
    while (d.output_scanline < d.output_height) {
        const int y = int(d.output_scanline);
        JSAMPROW p = row.data();
        jpeg_read_scanlines(&d, &p, 1);
        for (int x = 0; x < image.width; ++x)
            image.at(x, y) =
                uint32_t(row[3 * x]) << 16 | uint32_t(row[3 * x + 1]) << 8 | row[3 * x + 2];
    }
    jpeg_finish_decompress(&d);
    return true;
}
}  // namespace

Decoded DecodeJpeg(const std::vector<uint8_t>& file) {
    Decoded out;
    jpeg_decompress_struct d;
    JpegErrors e;
    std::memset(&d, 0, sizeof d);
    std::vector<uint8_t> row;
    const bool ok = ReadJpeg(file, out, d, e, row);
    jpeg_destroy_decompress(&d);
    if (!ok) return Fail("libjpeg refused the file");
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
