#include "diff/DeltaCommand.h"

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "common/Console.h"
#include "common/Files.h"
#include "core/neutral/Crc32.h"
#include "diff/neutral/BinaryDeltaEncoder.h"
#include "script/neutral/ActionCodes.h"

namespace {

int Fail(const std::string& message) {
    std::fprintf(stderr, "zulibuild delta: %s\nzulibuild delta: nothing was written\n", message.c_str());
    return 1;
}

bool ReadBytes(const char* path, std::vector<uint8_t>& bytes) {
    std::string text;
    if (!ReadFileBytes(path, text)) return false;
    bytes.assign(text.begin(), text.end());
    return true;
}

// The script writes CRC values as signed decimals.
long long ScriptCrc(const std::vector<uint8_t>& bytes) {
    const uint32_t crc = Crc32Update(0, bytes.data(), bytes.size());
    return static_cast<int32_t>(crc);
}

}  // namespace

int RunDelta(int argc, char** argv) {
    bool asked = AsksForHelp(argc, argv);
    if (asked || argc != 3) {
        std::fprintf(asked ? stdout : stderr,
                     "usage: zulibuild delta OLD NEW OUT\n"
                     "  writes to OUT the binary delta (Act %d) that turns the file OLD into NEW\n",
                     static_cast<int>(kActBinaryDelta));
        return asked ? 0 : 2;
    }
    std::vector<uint8_t> old, now, delta;
    if (!ReadBytes(argv[0], old)) return Fail(std::string("cannot read the old file \"") + argv[0] + "\"");
    if (!ReadBytes(argv[1], now)) return Fail(std::string("cannot read the new file \"") + argv[1] + "\"");
    if (!EncodeBinaryDelta(old, now, delta))
        return Fail("cannot encode: a file is larger than 1 GiB, or there is not enough memory");
    std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(delta.data()), static_cast<std::streamsize>(delta.size()));
    out.close();
    if (!out) {
        std::remove(argv[2]);
        return Fail(std::string("cannot write \"") + argv[2] + "\"");
    }
    std::printf("zulibuild delta: wrote %s: %u bytes for %u old and %u new bytes\n"
                "  its entry: Act=%d, CRC=%lld, NewCRC=%lld\n",
                argv[2], static_cast<unsigned>(delta.size()), static_cast<unsigned>(old.size()),
                static_cast<unsigned>(now.size()), static_cast<int>(kActBinaryDelta), ScriptCrc(old), ScriptCrc(now));
    return 0;
}
