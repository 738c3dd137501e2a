// A plain, position-by-position model of the byte-pattern patch, written for
// clarity rather than speed, that the tests and the fuzzer compare the real
// record code against.
#pragma once
#include <cstdint>
#include <cstring>
#include <vector>

namespace reference {

inline uint32_t Read32(const unsigned char* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

inline bool MatchesAt(const std::vector<unsigned char>& m, std::size_t p, const unsigned char* pat, std::size_t pl) {
    if (p + pl > m.size()) return false;
    for (std::size_t i = 0; i < pl; ++i)
        if (m[p + i] != pat[i]) return false;
    return true;
}

inline void Overwrite(std::vector<unsigned char>& m, std::size_t p, const unsigned char* rep, std::size_t rl) {
    for (std::size_t i = 0; i < rl && p + i < m.size(); ++i) m[p + i] = rep[i];
}

// Returns 1 and changes m when every record applies; 0 otherwise (m is then
// to be discarded).
inline int ApplyPayload(std::vector<unsigned char>& m, const std::vector<unsigned char>& payload) {
    if (payload.size() < 8) return 0;
    uint64_t count = Read32(payload.data());
    uint64_t r = 8;
    int ok = 1;
    for (uint64_t k = 0; k < count; ++k) {
        if (r + 8 > payload.size()) return 0;
        uint32_t type = Read32(&payload[r]);
        uint64_t pl = Read32(&payload[r + 4]);
        if (r + 12 + pl > payload.size()) return 0;
        uint64_t rl = Read32(&payload[r + 8 + pl]);
        if (r + 12 + pl + rl > payload.size()) return 0;
        const unsigned char* pat = &payload[r + 8];
        const unsigned char* rep = &payload[r + 12 + pl];
        const std::size_t len = m.size();
        if (type == 1) {
            bool done = false;
            for (std::size_t p = 0; pl > 0 && p < len && !done; ++p)
                if (MatchesAt(m, p, pat, pl)) {
                    Overwrite(m, p, rep, rl);
                    done = true;
                }
            if (!done) ok = 0;
        } else if (type == 2) {
            bool found = false;
            std::size_t p = 0;
            while (pl > 0 && p < len) {
                if (MatchesAt(m, p, pat, pl)) {
                    Overwrite(m, p, rep, rl);
                    found = true;
                    p += rl ? rl : 1;
                } else {
                    ++p;
                }
            }
            if (!found) ok = 0;
        } else if (type == 3) {
            if (pl < 4) {
                ok = 0;
            } else {
                uint64_t o = Read32(pat);
                if (o + rl > len) ok = 0;
                else Overwrite(m, o, rep, rl);
            }
        }
        r += 12 + pl + rl;
    }
    return ok;
}

// Builds a payload from records.
struct Record {
    uint32_t type;
    std::vector<unsigned char> pattern;
    std::vector<unsigned char> replacement;
};

inline void Put32(std::vector<unsigned char>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<unsigned char>(v >> (8 * i)));
}

inline std::vector<unsigned char> BuildPayload(const std::vector<Record>& records) {
    std::vector<unsigned char> out;
    Put32(out, static_cast<uint32_t>(records.size()));
    Put32(out, 0);
    for (const Record& rec : records) {
        Put32(out, rec.type);
        Put32(out, static_cast<uint32_t>(rec.pattern.size()));
        out.insert(out.end(), rec.pattern.begin(), rec.pattern.end());
        Put32(out, static_cast<uint32_t>(rec.replacement.size()));
        out.insert(out.end(), rec.replacement.begin(), rec.replacement.end());
    }
    return out;
}

inline std::vector<unsigned char> Offset(uint32_t o) {
    std::vector<unsigned char> v;
    Put32(v, o);
    return v;
}

}  // namespace reference
