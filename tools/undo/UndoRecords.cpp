#include "UndoRecords.h"

#include <cstdint>
#include <cstring>

#include "core/PredefinedKey.h"
#include "core/neutral/Crc32.h"
#include "core/neutral/HiveTokens.h"

namespace {

constexpr char kMagic[] = "ZULIREG1";

void PutNumber(std::string& out, uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) out += static_cast<char>((value >> shift) & 0xFF);
}

void PutText(std::string& out, const std::string& text) {
    PutNumber(out, static_cast<uint32_t>(text.size()));
    out += text;
}

void PutValue(std::string& out, const RegistryValue& value) {
    PutText(out, value.name);
    PutNumber(out, value.type);
    PutText(out, value.data);
}

class Reader {
public:
    explicit Reader(const std::string& bytes) : bytes_(bytes) {}
    bool Number(uint32_t& value) {
        if (bytes_.size() - at_ < 4) return false;
        value = 0;
        for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(bytes_[at_ + i]);
        at_ += 4;
        return true;
    }
    bool Text(std::string& text) {
        uint32_t length = 0;
        if (!Number(length) || bytes_.size() - at_ < length) return false;
        text.assign(bytes_, at_, length);
        at_ += length;
        return true;
    }
    bool Value(RegistryValue& value) {
        uint32_t type = 0;
        if (!Text(value.name) || !Number(type) || !Text(value.data)) return false;
        value.type = type;
        return true;
    }
    bool Skip(std::size_t n) {
        if (bytes_.size() - at_ < n) return false;
        at_ += n;
        return true;
    }
    bool AtEnd() const { return at_ == bytes_.size(); }

private:
    const std::string& bytes_;
    std::size_t at_ = 0;
};

}  // namespace

std::string EncodeRegistryRecords(const std::vector<RegistryRecord>& records) {
    std::string out(kMagic, sizeof kMagic - 1);
    PutNumber(out, static_cast<uint32_t>(records.size()));
    for (const RegistryRecord& record : records) {
        PutNumber(out, static_cast<uint32_t>(record.kind));
        PutText(out, record.hive);
        PutText(out, record.subkey);
        PutNumber(out, record.present ? 1 : 0);
        PutText(out, record.createdKey);
        PutValue(out, record.value);
        PutNumber(out, static_cast<uint32_t>(record.tree.size()));
        for (const RegistryNode& node : record.tree) {
            PutText(out, node.path);
            PutNumber(out, static_cast<uint32_t>(node.values.size()));
            for (const RegistryValue& value : node.values) PutValue(out, value);
        }
    }
    return out;
}

bool DecodeRegistryRecords(const std::string& bytes, std::vector<RegistryRecord>& records) {
    records.clear();
    if (bytes.compare(0, sizeof kMagic - 1, kMagic) != 0) return false;
    Reader in(bytes);
    in.Skip(sizeof kMagic - 1);
    uint32_t count = 0;
    if (!in.Number(count)) return false;
    for (uint32_t i = 0; i < count; ++i) {
        RegistryRecord record;
        uint32_t kind = 0, present = 0, nodes = 0;
        if (!in.Number(kind) || !in.Text(record.hive) || !in.Text(record.subkey) || !in.Number(present) ||
            !in.Text(record.createdKey) || !in.Value(record.value) || !in.Number(nodes))
            return false;
        if (kind != 1 && kind != 2) return false;
        record.kind = static_cast<RegistryRecordKind>(kind);
        record.present = present != 0;
        for (uint32_t n = 0; n < nodes; ++n) {
            RegistryNode node;
            uint32_t values = 0;
            if (!in.Text(node.path) || !in.Number(values)) return false;
            for (uint32_t v = 0; v < values; ++v) {
                RegistryValue value;
                if (!in.Value(value)) return false;
                node.values.push_back(value);
            }
            record.tree.push_back(node);
        }
        records.push_back(record);
    }
    return in.AtEnd();
}

HKEY RootOfHive(const std::string& hive) {
    const HiveToken* token = FindHiveToken(hive.c_str());
    if (!token || hive != token->token) return nullptr;  // no text after a zero byte either
    return PredefinedKey(token->predefinedKey);
}

namespace {

// ".", "..", "..." and the like: the system reads them as this folder or
// the one above (trailing dots and spaces aside), never as a name.
bool IsDotsAlone(const std::string& part) { return !part.empty() && part.find_first_not_of(". ") == std::string::npos; }

}  // namespace

bool IsPlainFullPath(const std::string& path) {
    std::size_t at = 0;
    char drive = path.empty() ? 0 : static_cast<char>(path[0] | 0x20);
    if (path.size() >= 3 && drive >= 'a' && drive <= 'z' && path[1] == ':' && path[2] == '\\') at = 3;
    else if (path.size() > 2 && path[0] == '\\' && path[1] == '\\') at = 2;
    else return false;
    if (path.find_first_of("/:*?", at) != std::string::npos) return false;
    while (at <= path.size()) {
        std::size_t end = path.find('\\', at);
        if (end == std::string::npos) end = path.size();
        if (IsDotsAlone(path.substr(at, end - at))) return false;
        at = end + 1;
    }
    return true;
}

bool LiesBelow(const std::string& path, const std::string& folder) {
    const std::size_t n = folder.size();
    if (n == 0 || path.size() <= n || lstrcmpiA(path.substr(0, n).c_str(), folder.c_str()) != 0) return false;
    return folder[n - 1] == '\\' || (path[n] == '\\' && path.size() > n + 1);
}

bool IsBareFileName(const std::string& name) {
    return !name.empty() && name.find_first_of("\\/:") == std::string::npos && !IsDotsAlone(name);
}

bool ParseDecimal(const std::string& text, unsigned long long& value) {
    value = 0;
    for (char c : text) {
        if (c < '0' || c > '9' || value > (~0ULL - (c - '0')) / 10) return false;
        value = value * 10 + static_cast<unsigned>(c - '0');
    }
    return !text.empty();
}

std::string RegistryValueState(DWORD type, const void* data, std::size_t size) {
    return "value," + std::to_string(type) + "," + std::to_string(size) + "," +
           std::to_string(Crc32Update(0, static_cast<const unsigned char*>(data), size));
}
