#pragma once
// Where the header, the footer and the image go on the page. Plain arithmetic
// in twips from the top-left corner of the printable area; each step is a
// separate call because the print job runs them under different stage texts.
// Every step keeps its results as 32-bit floats and throws orv::Error 11
// (division by zero), 5 (invalid operation) or 6 (overflow).
#include <cstdint>

namespace orv {

struct PageLayout {
    float marginX = 0, marginY = 0;                  // left and top margin
    float limitRight = 0, limitBottom = 0;           // right and bottom limit
    float left = 0, top = 0, right = 0, bottom = 0;  // the image rectangle
    bool widthLimited = false;                       // how the aspect fit went
};

// Step 1: half of pageBorder percent on each side; a border outside 0 to
// 100 is refused as an invalid call.
PageLayout LayoutMargins(float pageWidth, float pageHeight, int16_t pageBorder);

// Step 2: the area left by the margins and the header and footer bands (each
// band two line heights: the text line and an empty line).
PageLayout LayoutImageArea(PageLayout layout, bool header, float headerLineHeight, bool footer,
                           float footerLineHeight);

// Top of the footer line.
float FooterLineTop(const PageLayout& layout, float footerLineHeight);

// Step 3: shrinks the area about its top-left corner when resize is exactly
// 1; a scale of zero or less (or not a number) is refused as an invalid call.
PageLayout LayoutResize(PageLayout layout, int16_t resize, double resizeScale);

// Step 4: keeps the picture's aspect ratio, as wide or as tall as the area allows.
PageLayout LayoutAspectFit(PageLayout layout, float pictureWidth, float pictureHeight);

// Step 5: a picture narrower than the screen keeps its share of the screen
// (never more than the area) unless stretchImage is nonzero.
PageLayout LayoutPartialCapture(PageLayout layout, int16_t stretchImage, float pictureWidth,
                                float pictureHeight, float screenWidth, float screenHeight);

// A rectangle without area (margins and bands larger than the page) would
// draw nothing or a mirrored picture; it is refused as an invalid call so
// the user hears why the image is missing.
void RequireDrawableArea(const PageLayout& layout);

}  // namespace orv
