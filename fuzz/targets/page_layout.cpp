// The page layout on any floats: it either refuses with the program's error
// or gives a finite rectangle, on the page whenever the inputs are sane.
#include "output/page_layout.h"

#include <cmath>

#include "fuzz_target.h"
#include "platform/error.h"

namespace orv::fuzz {

void FuzzPageLayout(const uint8_t* data, std::size_t size) {
    Bytes in(data, size);
    const float W = in.F32(), H = in.F32(), headerHeight = in.F32(), footerHeight = in.F32();
    const float pw = in.F32(), ph = in.F32(), SW = in.F32(), SH = in.F32();
    const auto border = static_cast<int16_t>(in.U16()), resize = static_cast<int16_t>(in.U16() % 3);
    const auto stretch = static_cast<int16_t>(in.U8() % 2);
    const double scale = in.F64();
    const bool header = in.U8() & 1, footer = in.U8() & 1;

    PageLayout l;
    try {
        l = LayoutMargins(W, H, border);
        l = LayoutImageArea(l, header, headerHeight, footer, footerHeight);
        (void)FooterLineTop(l, footerHeight);
        l = LayoutResize(l, resize, scale);
        l = LayoutAspectFit(l, pw, ph);
        l = LayoutPartialCapture(l, stretch, pw, ph, SW, SH);
        RequireDrawableArea(l);
    } catch (const Error& e) {
        Require(e.number() == err::kInvalidCall || e.number() == err::kOverflow ||
                    e.number() == err::kDivisionByZero,
                "unexpected error number");
        return;
    }
    for (float v : {l.left, l.top, l.right, l.bottom})
        Require(std::isfinite(v), "a drawn rectangle that is not finite");
    const bool sane = W > 0 && H > 0 && std::isfinite(W) && std::isfinite(H) && border >= 0 &&
                      border < 100 && headerHeight >= 0 && footerHeight >= 0 && pw >= 1 &&
                      ph >= 1 && SW >= 1 && SH >= 1 && std::isfinite(pw) && std::isfinite(ph) &&
                      std::isfinite(SW) && std::isfinite(SH) &&
                      (resize != 1 || (scale > 0 && scale <= 100));
    if (!sane) return;
    const float slackX = W * 1e-5f, slackY = H * 1e-5f;  // float rounding
    Require(
        l.left >= -slackX && l.right <= W + slackX && l.top >= -slackY && l.bottom <= H + slackY,
        "an image off the page");
}

}  // namespace orv::fuzz
