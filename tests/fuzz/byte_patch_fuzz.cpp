// Feeds arbitrary payloads and contents to the byte-pattern records and
// compares the outcome with the plain position-by-position model.
//   byte 0: window size for the content (0 = whole)
//   byte 1-2: content length (little-endian, cut to what is there)
//   then the content, then the payload.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "../native/PatchReference.h"
#include "actions/neutral/BytePatchRecords.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3) return 0;
    std::size_t window = data[0] % 17;
    std::size_t contentLength = data[1] | (static_cast<std::size_t>(data[2]) << 8);
    data += 3;
    size -= 3;
    if (contentLength > size) contentLength = size;
    std::vector<unsigned char> content(data, data + contentLength);
    // The payload in a buffer of its own, exactly as long as it is, so that
    // any read past its end shows up under the address sanitizer.
    std::size_t payloadSize = size - contentLength;
    unsigned char* payload = static_cast<unsigned char*>(std::malloc(payloadSize ? payloadSize : 1));
    for (std::size_t i = 0; i < payloadSize; ++i) payload[i] = data[contentLength + i];

    std::vector<unsigned char> expected = content;
    int expectedResult = reference::ApplyPayload(
        expected, std::vector<unsigned char>(payload, payload + payloadSize));

    unsigned char* m = static_cast<unsigned char*>(std::malloc(contentLength ? contentLength : 1));
    for (std::size_t i = 0; i < contentLength; ++i) m[i] = content[i];
    MemoryPatchContent patched(m, contentLength, window);
    int result = ApplyPatchPayload(patched, payload, payloadSize);
    if (result != expectedResult) std::abort();
    if (result == 1) {
        for (std::size_t i = 0; i < contentLength; ++i)
            if (m[i] != expected[i]) std::abort();
    }
    std::free(m);
    std::free(payload);
    return 0;
}
