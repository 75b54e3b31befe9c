#include "native_rows.h"

namespace orv::bench {

std::function<std::vector<uint8_t>(const Image&)> Libpng() {
    return {};
}

void FreshPagesLikeWindows() {}

void NativeRows(const std::vector<Shot>&) {}

}  // namespace orv::bench
