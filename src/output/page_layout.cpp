#include "output/page_layout.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "platform/error.h"

namespace orv {
namespace {

// Values are worked out in double and stored as 32-bit floats at the end of a
// step; storing is where NaN and out-of-range results are caught.
float Store(double value) {
    if (std::isnan(value)) throw err::InvalidCall();
    if (std::isinf(value) || std::fabs(value) > FLT_MAX) throw err::Overflow();
    float f = static_cast<float>(value);
    if (std::isinf(f)) throw err::Overflow();  // rounded up past the largest float
    return f;
}

double Divide(double a, double b) {
    if (b == 0) throw err::DivisionByZero();
    return a / b;
}

}  // namespace

PageLayout LayoutMargins(float pageWidth, float pageHeight, int16_t pageBorder) {
    // The dialog offers 0 to 30; a stored value outside 0 to 100 would put
    // the margins off the page, and with a negative scale the picture too.
    if (pageBorder < 0 || pageBorder > 100) throw err::InvalidCall();
    double share = pageBorder / 100.0 / 2;
    PageLayout l;
    l.marginX = Store(pageWidth * share);
    l.marginY = Store(pageHeight * share);
    l.limitRight = Store(double(pageWidth) - l.marginX);
    l.limitBottom = Store(double(pageHeight) - l.marginY);
    return l;
}

PageLayout LayoutImageArea(PageLayout l, bool header, float headerLineHeight, bool footer,
                           float footerLineHeight) {
    l.left = Store(l.marginX);
    l.right = Store(l.limitRight);
    l.top = Store(header ? l.marginY + 2.0 * headerLineHeight : l.marginY);
    l.bottom = Store(footer ? l.limitBottom - 2.0 * footerLineHeight : l.limitBottom);
    return l;
}

float FooterLineTop(const PageLayout& l, float footerLineHeight) {
    return Store(double(l.limitBottom) - footerLineHeight);
}

PageLayout LayoutResize(PageLayout l, int16_t resize, double resizeScale) {
    if (resize != 1 || resizeScale == 100) return l;
    // Zero would leave no area and a negative scale mirror it off the page.
    if (!(resizeScale > 0)) throw err::InvalidCall();
    double right = l.left + (double(l.right) - l.left) * resizeScale / 100;
    double bottom = l.top + (double(l.bottom) - l.top) * resizeScale / 100;
    l.right = Store(right);
    l.bottom = Store(bottom);
    return l;
}

PageLayout LayoutAspectFit(PageLayout l, float pictureWidth, float pictureHeight) {
    double width = double(l.right) - l.left;
    double height = double(l.bottom) - l.top;
    float areaRatio = Store(Divide(width, height));
    // Bands or margins taller or wider than the page leave no area: fitting
    // into it would mirror the picture or push it off the page.
    if (!(width > 0) || !(height > 0)) throw err::InvalidCall();
    float pictureRatio = Store(Divide(pictureWidth, pictureHeight));
    double heightPerWidth = Divide(pictureHeight, pictureWidth);
    double widthPerHeight = double(pictureWidth) / pictureHeight;
    // Equal ratios take the height-limited branch.
    l.widthLimited = pictureRatio > areaRatio;
    if (l.widthLimited)
        l.bottom = Store(l.top + width * heightPerWidth);
    else
        l.right = Store(l.left + height * widthPerHeight);
    return l;
}

PageLayout LayoutPartialCapture(PageLayout l, int16_t stretchImage, float pictureWidth,
                                float pictureHeight, float screenWidth, float screenHeight) {
    // Widths are compared for both kinds of fit.
    if (stretchImage != 0 || !(screenWidth > pictureWidth)) return l;
    double k =
        l.widthLimited ? Divide(pictureWidth, screenWidth) : Divide(pictureHeight, screenHeight);
    // A picture taller than the screen (a window across monitors stacked one
    // above the other) would otherwise grow past the page.
    k = std::min(k, 1.0);
    double right = l.left + (double(l.right) - l.left) * k;
    double bottom = l.top + (double(l.bottom) - l.top) * k;
    l.right = Store(right);
    l.bottom = Store(bottom);
    return l;
}

void RequireDrawableArea(const PageLayout& l) {
    if (!(l.right > l.left) || !(l.bottom > l.top)) throw err::InvalidCall();
}

}  // namespace orv
