#pragma once
#include "capture/indexed_image.h"

namespace orv {

// Reduces a many-coloured picture to at most `colours` colours (2..256), no
// dithering. Colours are gathered in a 5-6-5 bit histogram; the palette comes
// from a variance-driven median cut over the histogram, refined by a few
// rounds of k-means, and each pixel takes the entry nearest its bin.
IndexedImage Quantize(const Image& image, int colours = 256);

}  // namespace orv
