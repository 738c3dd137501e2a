// The XOR combine over arbitrary old and delta bytes, streamed in chunks of
// arbitrary sizes the way the file update streams them, must equal the plain
// byte loop over the whole.
//   byte 0: chunk size; byte 1: where old ends and the delta begins.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "actions/neutral/XorCombine.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    std::size_t chunk = 1 + data[0] % 32;
    std::size_t split = data[1];
    data += 2;
    size -= 2;
    if (split > size) split = size;
    std::vector<unsigned char> old(data, data + split);
    std::vector<unsigned char> delta(data + split, data + size);

    std::vector<unsigned char> expected = delta;
    for (std::size_t i = 0; i < expected.size() && i < old.size(); ++i) expected[i] ^= old[i];

    std::vector<unsigned char> streamed = delta;
    for (std::size_t at = 0; at < streamed.size(); at += chunk) {
        std::size_t n = streamed.size() - at < chunk ? streamed.size() - at : chunk;
        if (at < old.size()) {
            std::size_t m = old.size() - at < n ? old.size() - at : n;
            XorCombine(streamed.data() + at, old.data() + at, m);
        }
    }
    if (streamed != expected) std::abort();
    return 0;
}
