// libFuzzer's entry for one target, chosen when the fuzzer is built.
#include "targets/fuzz_target.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    ORV_FUZZ_ENTRY(data, size);
    return 0;
}
