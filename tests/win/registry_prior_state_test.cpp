// Records of the registry as it was, and their restore, against a key the
// test owns: HKEY_CURRENT_USER\Software\ZuliTest\PriorState, removed before
// and after. CTest runs this program under the zh_TW.BIG5 locale so that
// names can hold double-byte characters whose trail byte is 0x5C.
#include <gtest/gtest.h>
#include <shlwapi.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "actions/RegistryOperations.h"
#include "core/RegistryPriorState.h"

namespace {

const char kBase[] = "Software\\ZuliTest\\PriorState";
constexpr uint32_t kCurrentUser = 0x80000001;

using Bytes = std::vector<unsigned char>;

std::string Under(const std::string& relative) {
    return relative.empty() ? std::string(kBase) : std::string(kBase) + "\\" + relative;
}

bool IsBig5() { return GetACP() == 950; }

// Names with characters beyond ASCII: under Big5 "功能" and "許", whose trail
// bytes are 0x5C; under a single-byte code page accented letters.
std::string WideName() { return IsBig5() ? "\xA5\x5C\xAF\xE0" : "\xE9t\xE9"; }
std::string ShortWideName() { return IsBig5() ? "\xB3\x5C" : "\xFC"; }

std::string Utf8(const std::wstring& text) {
    if (text.empty()) return std::string();
    int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                   nullptr);
    std::string out(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[0], size, nullptr, nullptr);
    return out;
}

// Raw bytes as hex; a long block as its size and a 64-bit FNV-1a hash, so
// that a difference in any byte still shows.
std::string Describe(const Bytes& data) {
    char cell[40];
    std::string text;
    if (data.size() > 48) {
        unsigned long long hash = 14695981039346656037ull;
        for (unsigned char b : data) hash = (hash ^ b) * 1099511628211ull;
        wsprintfA(cell, "%u bytes, hash %08lX%08lX", static_cast<unsigned>(data.size()),
                  static_cast<unsigned long>(hash >> 32), static_cast<unsigned long>(hash & 0xFFFFFFFFu));
        return cell;
    }
    for (unsigned char b : data) {
        wsprintfA(cell, "%02X", b);
        text += cell;
    }
    return text.empty() ? "(empty)" : text;
}

// One line per key and per value, read through the wide interface so that
// every value shows its stored type and bytes exactly.
void DumpKey(HKEY key, const std::wstring& path, std::vector<std::string>& lines) {
    lines.push_back("key [" + Utf8(path) + "]");
    std::vector<wchar_t> name(16384);
    for (DWORD index = 0;; ++index) {
        DWORD nameLength = static_cast<DWORD>(name.size());
        DWORD type = 0;
        DWORD size = 0;
        if (RegEnumValueW(key, index, name.data(), &nameLength, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
            break;
        Bytes data(size + 1);
        LONG status = RegQueryValueExW(key, name.data(), nullptr, &type, data.data(), &size);
        data.resize(size);
        lines.push_back("value [" + Utf8(path) + "] [" + Utf8(name.data()) + "] type " + std::to_string(type) +
                        (status == ERROR_SUCCESS ? ": " + Describe(data) : ": unreadable"));
    }
    for (DWORD index = 0;; ++index) {
        DWORD nameLength = static_cast<DWORD>(name.size());
        if (RegEnumKeyExW(key, index, name.data(), &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        HKEY child = nullptr;
        if (RegOpenKeyExW(key, name.data(), 0, KEY_READ, &child) != ERROR_SUCCESS) {
            lines.push_back("unopened [" + Utf8(path + L"\\" + name.data()) + "]");
            continue;
        }
        DumpKey(child, path + L"\\" + name.data(), lines);
        RegCloseKey(child);
    }
}

// The tree below the test's key, sorted so that the order in which values
// were made again does not count.
std::string Dump(const std::string& relative = std::string()) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, Under(relative).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return "(missing)";
    std::vector<std::string> lines;
    DumpKey(key, L".", lines);
    RegCloseKey(key);
    std::sort(lines.begin(), lines.end());
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    return text;
}

HKEY Create(const std::string& relative) {
    HKEY key = nullptr;
    EXPECT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, Under(relative).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &key, nullptr),
              ERROR_SUCCESS)
        << relative;
    return key;
}

void Set(const std::string& relative, const char* name, DWORD type, const Bytes& data) {
    HKEY key = Create(relative);
    EXPECT_EQ(RegSetValueExA(key, name, 0, type, data.empty() ? nullptr : data.data(),
                             static_cast<DWORD>(data.size())),
              ERROR_SUCCESS)
        << relative << " " << (name ? name : "(default)");
    RegCloseKey(key);
}

// The text with its terminator, as the ANSI functions store it.
Bytes Text(const std::string& text) { return Bytes(text.c_str(), text.c_str() + text.size() + 1); }

Bytes Number(DWORD number) {
    return Bytes{static_cast<unsigned char>(number), static_cast<unsigned char>(number >> 8),
                 static_cast<unsigned char>(number >> 16), static_cast<unsigned char>(number >> 24)};
}

void DeleteValue(const std::string& relative, const char* name) {
    HKEY key = Create(relative);
    EXPECT_EQ(RegDeleteValueA(key, name), ERROR_SUCCESS) << relative << " " << (name ? name : "(default)");
    RegCloseKey(key);
}

void DeleteTree(const std::string& relative) {
    EXPECT_EQ(SHDeleteKeyA(HKEY_CURRENT_USER, Under(relative).c_str()), ERROR_SUCCESS) << relative;
}

// The values of the fixture's "Values" key: every type, with the texts and
// sizes that are easy to get wrong.
struct TypedValue {
    std::string name;
    DWORD type;
    Bytes data;
};

std::vector<TypedValue> TypedValues() {
    Bytes big(100 * 1024);
    for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<unsigned char>(i * 7 + i / 251);
    Bytes multi = {'o', 'n', 'e', 0, 't', 'w', 'o', 0, 0};
    return {
        {"Text", REG_SZ, Text("some text")},
        {"EmptyText", REG_SZ, Text("")},
        {"NoTerminator", REG_SZ, Bytes{'a', 'b', 'c'}},
        {"Expand", REG_EXPAND_SZ, Text("%TEMP%\\zuli")},
        {"Multi", REG_MULTI_SZ, multi},
        {"Binary", REG_BINARY, Bytes{0, 1, 0, 0xFF, 0x5C, 0}},
        {"EmptyBinary", REG_BINARY, Bytes{}},
        {"Number", REG_DWORD, Number(0xDEADBEEF)},
        {"BigEndian", REG_DWORD_BIG_ENDIAN, Number(0x01020304)},
        {"Quad", REG_QWORD, Bytes{1, 2, 3, 4, 5, 6, 7, 8}},
        {"None", REG_NONE, Bytes{}},
        {"NoneWithData", REG_NONE, Bytes{9, 8, 7}},
        {"OddType", 0x12345, Bytes{0xAA, 0xBB}},
        {"Big", REG_BINARY, big},
        {WideName(), REG_SZ, Text(WideName() + ShortWideName())},
        {std::string(1100, 'n'), REG_SZ, Text("a long name")},
        {"Spaces and \\ backslash", REG_DWORD, Number(5)},
    };
}

// What the change in a case is recorded by beforehand.
struct Capture {
    enum Kind { Value, Key, Write } kind;
    std::string relative;
    const char* valueName;  // null: the default value
};

int Take(ByteBuffer& out, const Capture& c) {
    const std::string path = Under(c.relative);
    switch (c.kind) {
    case Capture::Value:
        return CaptureValueState(out, kCurrentUser, path.c_str(), c.valueName);
    case Capture::Key:
        return CaptureKeyState(out, kCurrentUser, path.c_str());
    case Capture::Write:
        return CaptureWriteState(out, kCurrentUser, path.c_str(), c.valueName);
    }
    return 0;
}

struct Case {
    const char* what;
    std::vector<Capture> captures;
    std::function<void()> change;
};

Bytes Join(const std::vector<Bytes>& records) {
    Bytes all;
    for (const Bytes& r : records) all.insert(all.end(), r.begin(), r.end());
    return all;
}

int Restore(const Bytes& records) { return RestoreRegistryState(records.data(), records.size()); }

class RegistryPriorState : public ::testing::Test {
protected:
    void SetUp() override {
        SHDeleteKeyA(HKEY_CURRENT_USER, kBase);
        BuildFixture();
    }
    void TearDown() override { SHDeleteKeyA(HKEY_CURRENT_USER, kBase); }

    // Values\   every type, and an empty default value
    // NoDefault\  one value, no default value
    // Tree\     a default value, values and subkeys three levels deep, an
    //           empty subkey and one with a 100 KB value
    static void BuildFixture() {
        for (const TypedValue& v : TypedValues()) Set("Values", v.name.c_str(), v.type, v.data);
        Set("Values", nullptr, REG_SZ, Text(""));
        Set("NoDefault", "Only", REG_DWORD, Number(1));
        Set("Tree", nullptr, REG_SZ, Text("tree"));
        Set("Tree", "Text", REG_SZ, Text("top"));
        Set("Tree", "Binary", REG_BINARY, Bytes{0, 0, 1});
        Set("Tree\\Child", "Multi", REG_MULTI_SZ, Bytes{'x', 0, 0});
        Set("Tree\\Child", "Expand", REG_EXPAND_SZ, Text("%WINDIR%"));
        Set("Tree\\Child\\Grandchild", "Quad", REG_QWORD, Bytes{8, 7, 6, 5, 4, 3, 2, 1});
        Set("Tree\\Child\\Grandchild", "Odd", 0x7FFFFFFF, Bytes{1});
        Set("Tree\\Child\\" + WideName(), ShortWideName().c_str(), REG_SZ, Text(WideName()));
        RegCloseKey(Create("Tree\\Empty"));
        Bytes big(100 * 1024);
        for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<unsigned char>(i ^ (i >> 8));
        Set("Tree\\Big", "Big", REG_BINARY, big);
    }

    // Captures, changes, restores: the registry must come back exactly,
    // after a second restore too, and with the records in reverse order.
    static void Check(const Case& c) {
        SCOPED_TRACE(c.what);
        SHDeleteKeyA(HKEY_CURRENT_USER, kBase);
        BuildFixture();
        const std::string before = Dump();

        std::vector<Bytes> records;
        ByteBuffer together;
        for (const Capture& capture : c.captures) {
            ByteBuffer one;
            ASSERT_EQ(Take(one, capture), 1) << capture.relative;
            records.emplace_back(one.Data(), one.Data() + one.Size());
            ASSERT_EQ(Take(together, capture), 1) << capture.relative;
        }
        const Bytes forward = Join(records);
        ASSERT_EQ(Bytes(together.Data(), together.Data() + together.Size()), forward)
            << "each capture appends its record to what the buffer holds";
        std::vector<Bytes> reversed(records.rbegin(), records.rend());
        const Bytes backward = Join(reversed);

        c.change();
        ASSERT_NE(Dump(), before) << "the change must change something";
        EXPECT_EQ(Restore(forward), 1);
        EXPECT_EQ(Dump(), before) << "restored";
        EXPECT_EQ(Restore(forward), 1);
        EXPECT_EQ(Dump(), before) << "restored twice";

        c.change();
        EXPECT_EQ(Restore(backward), 1);
        EXPECT_EQ(Dump(), before) << "restored in reverse order";
    }
};

}  // namespace

TEST_F(RegistryPriorState, ChangesComeBackExactly) {
    const DWORD seven = 7;
    auto write = [](const std::string& relative, const char* name, DWORD type, const Bytes& data) {
        EXPECT_EQ(WriteRegistryValue("HKCU", Under(relative).c_str(), name, type, data.data(),
                                     static_cast<uint32_t>(data.size())),
                  1)
            << relative;
    };
    const std::vector<TypedValue> typed = TypedValues();
    std::vector<Capture> everyValue;
    for (const TypedValue& v : typed) everyValue.push_back({Capture::Value, "Values", v.name.c_str()});
    const Case cases[] = {
        {"a text overwritten with a number",
         {{Capture::Write, "Values", "Text"}},
         [&] { write("Values", "Text", REG_DWORD, Number(seven)); }},
        {"a new value in an existing key is deleted again",
         {{Capture::Write, "Values", "Fresh"}},
         [&] { write("Values", "Fresh", REG_SZ, Text("new")); }},
        {"missing keys above a new value are deleted with all that was made below them",
         {{Capture::Write, "New\\Deeper\\Deepest", "V"}},
         [&] {
             write("New\\Deeper\\Deepest", "V", REG_SZ, Text("v"));
             write("New\\Other", "W", REG_DWORD, Number(1));
             write("New", nullptr, REG_SZ, Text("default"));
         }},
        {"a missing key below existing ones goes, its parents stay",
         {{Capture::Write, "Tree\\Child\\Made\\Leaf", nullptr}},
         [&] { write("Tree\\Child\\Made\\Leaf", nullptr, REG_SZ, Text("leaf")); }},
        {"a default value that did not exist is deleted, not left empty",
         {{Capture::Write, "NoDefault", nullptr}},
         [&] { write("NoDefault", nullptr, REG_SZ, Text("")); }},
        {"an empty default value comes back as existing",
         {{Capture::Value, "Values", nullptr}},
         [&] { DeleteValue("Values", nullptr); }},
        {"every type of value deleted",
         everyValue,
         [&] {
             for (const TypedValue& v : typed) DeleteValue("Values", v.name.c_str());
         }},
        {"every type of value overwritten with another type and size",
         everyValue,
         [&] {
             for (const TypedValue& v : typed) write("Values", v.name.c_str(), REG_BINARY, Bytes{1, 2, 3});
         }},
        {"a whole tree deleted",
         {{Capture::Key, "Tree", nullptr}},
         [&] { DeleteTree("Tree"); }},
        {"changes inside a tree: keys added and deleted, values set and deleted",
         {{Capture::Key, "Tree", nullptr}},
         [&] {
             write("Tree\\Added\\More", "X", REG_SZ, Text("x"));
             write("Tree\\Child", "Multi", REG_BINARY, Bytes{0});
             DeleteTree("Tree\\Child\\Grandchild");
             DeleteTree("Tree\\Empty");
             DeleteValue("Tree", nullptr);
             write("Tree\\Big", "Big", REG_BINARY, Bytes{1});
         }},
        {"a tree moved to a new key",
         {{Capture::Key, "Tree", nullptr}, {Capture::Key, "Moved", nullptr}},
         [&] { EXPECT_EQ(MoveRegistryKey("HKCU", Under("Tree").c_str(), Under("Moved").c_str()), 1); }},
        {"a tree moved onto an existing key (merged)",
         {{Capture::Key, "Tree", nullptr}, {Capture::Key, "NoDefault", nullptr}},
         [&] { EXPECT_EQ(MoveRegistryKey("HKCU", Under("Tree").c_str(), Under("NoDefault").c_str()), 1); }},
        {"a value renamed",
         {{Capture::Value, "Values", "Text"}, {Capture::Write, "Values", "Renamed"}},
         [&] { EXPECT_EQ(RenameRegistryValue("HKCU", Under("Values").c_str(), "Text", "Renamed"), 1); }},
        {"a value inside a tree that is deleted afterwards",
         {{Capture::Write, "Tree\\Child", "Multi"}, {Capture::Key, "Tree\\Child", nullptr}},
         [&] {
             write("Tree\\Child", "Multi", REG_SZ, Text("changed"));
             DeleteTree("Tree\\Child");
         }},
        {"values whose key was deleted make it again",
         {{Capture::Value, "Tree\\Child\\Grandchild", "Quad"}, {Capture::Value, "Tree\\Child\\Grandchild", "Odd"}},
         [&] { DeleteTree("Tree\\Child\\Grandchild"); }},
        {"a key that did not exist, made with subkeys",
         {{Capture::Key, "Absent", nullptr}},
         [&] {
             write("Absent\\Sub\\Sub", "V", REG_DWORD, Number(3));
             write("Absent", "W", REG_SZ, Text("w"));
         }},
    };
    for (const Case& c : cases) Check(c);
}

// Under Big5 the last byte of "功" is 0x5C, the byte of a backslash: the
// walk to the topmost missing key must step over it by characters.
TEST_F(RegistryPriorState, WriteStateFindsTheTopmostMissingKeyByCharacters) {
    if (!IsBig5()) {
        // A skip counts as a pass: on a build machine that would leave
        // double-byte names untested without anyone noticing.
        const char* ci = std::getenv("CI");
        if (ci && std::strcmp(ci, "true") == 0)
            FAIL() << "needs the ANSI code page 950 (Big5), got " << GetACP()
                   << "; generate the zh_TW.BIG5 locale (scripts/install-deps.sh)";
        GTEST_SKIP() << "needs the ANSI code page 950 (Big5), got " << GetACP()
                     << "; run under LC_ALL=zh_TW.BIG5 with that locale generated (scripts/install-deps.sh)";
    }
    ASSERT_TRUE(IsDBCSLeadByte(0xA5)) << "0xA5 must lead a double-byte character under code page 950";
    const std::string missing = "New\xA5\x5C\\Sub";              // "New功\Sub", both missing
    const std::string below = "Tree\\Child\\" + WideName() + "\\Made";  // "...\功能" exists
    auto write = [](const std::string& relative) {
        EXPECT_EQ(WriteRegistryValue("HKCU", Under(relative).c_str(), "V", REG_SZ, "v", 2), 1) << relative;
    };
    const Case cases[] = {
        {"a missing key whose name ends in a trail byte 0x5C",
         {{Capture::Write, missing, "V"}},
         [&] { write(missing); }},
        {"a missing key below an existing one whose name holds a trail byte 0x5C",
         {{Capture::Write, below, "V"}},
         [&] { write(below); }},
        {"a value whose name ends in a trail byte 0x5C",
         {{Capture::Write, "Tree\\Child\\" + WideName(), "\xB3\x5C"}},
         [&] { DeleteValue("Tree\\Child\\" + WideName(), "\xB3\x5C"); }},
    };
    for (const Case& c : cases) Check(c);
}

TEST_F(RegistryPriorState, CapturesRefuseWhatIsNoPredefinedKeyOrWouldBeTheWholeHive) {
    ByteBuffer out;
    out.AppendU32(0x11223344);
    const std::size_t held = out.Size();
    const std::string path = Under("Values");
    for (uint32_t root : {0u, 1u, 0x7FFFFFFFu, 0x80000007u, 0xFFFFFFFFu}) {
        EXPECT_EQ(CaptureValueState(out, root, path.c_str(), "Text"), 0) << std::hex << root;
        EXPECT_EQ(CaptureKeyState(out, root, path.c_str()), 0) << std::hex << root;
        EXPECT_EQ(CaptureWriteState(out, root, path.c_str(), "Text"), 0) << std::hex << root;
    }
    for (const char* subkey : {"", "\\", "\\\\"})
        EXPECT_EQ(CaptureKeyState(out, kCurrentUser, subkey), 0) << "[" << subkey << "]";
    EXPECT_EQ(CaptureValueState(out, kCurrentUser, nullptr, "Text"), 0);
    EXPECT_EQ(CaptureKeyState(out, kCurrentUser, nullptr), 0);
    EXPECT_EQ(CaptureWriteState(out, kCurrentUser, nullptr, "Text"), 0);
    EXPECT_EQ(out.Size(), held) << "a refused capture adds nothing";

    // The everyday roots, each for a key that is not there.
    const std::string absent = std::string(kBase) + "\\Absent";
    for (uint32_t root : {0x80000000u, 0x80000001u, 0x80000002u, 0x80000003u}) {
        ByteBuffer one;
        EXPECT_EQ(CaptureValueState(one, root, absent.c_str(), "V"), 1) << std::hex << root;
        EXPECT_EQ(CaptureKeyState(one, root, absent.c_str()), 1) << std::hex << root;
        EXPECT_EQ(CaptureWriteState(one, root, absent.c_str(), "V"), 1) << std::hex << root;
        EXPECT_EQ(RestoreRegistryState(one.Data(), one.Size()), 1) << std::hex << root;
    }
}

// A record cut anywhere is no record: nothing of it, nor of the whole
// records before it, is carried out.
TEST_F(RegistryPriorState, TruncatedRecordsRestoreNothing) {
    const std::string before = Dump();
    const Capture captures[] = {
        {Capture::Value, "Values", "Text"},
        {Capture::Write, "Values", "Fresh"},
        {Capture::Key, "Tree\\Child", nullptr},
        {Capture::Key, "Absent", nullptr},
    };
    std::vector<Bytes> records;
    for (const Capture& capture : captures) {
        ByteBuffer one;
        ASSERT_EQ(Take(one, capture), 1) << capture.relative;
        records.emplace_back(one.Data(), one.Data() + one.Size());
    }
    Set("Values", "Text", REG_DWORD, Number(1));
    Set("Values", "Fresh", REG_DWORD, Number(2));
    DeleteTree("Tree\\Child");
    Set("Absent", "V", REG_DWORD, Number(3));
    const std::string changed = Dump();

    EXPECT_EQ(RestoreRegistryState(nullptr, 0), 1) << "no records: nothing to do";
    for (std::size_t r = 0; r < records.size(); ++r) {
        const Bytes& record = records[r];
        for (std::size_t cut = 1; cut < record.size(); ++cut)
            EXPECT_EQ(RestoreRegistryState(record.data(), cut), 0) << "record " << r << " cut to " << cut;
        EXPECT_EQ(Dump(), changed) << "record " << r;
        const Bytes whole = records[0];
        Bytes withCut = whole;
        withCut.insert(withCut.end(), record.begin(), record.begin() + static_cast<std::ptrdiff_t>(record.size() / 2));
        EXPECT_EQ(Restore(withCut), 0) << "a whole record before record " << r << " cut in half";
        EXPECT_EQ(Dump(), changed) << "record " << r << " after a whole one";
    }
    EXPECT_EQ(Restore(Join(records)), 1);
    EXPECT_EQ(Dump(), before) << "the whole records do restore";
}

// Well-formed in length but not records: each comes after a whole record
// that would set "Text" back, and nothing is carried out.
TEST_F(RegistryPriorState, MalformedRecordsRestoreNothing) {
    const std::string before = Dump();
    const std::string values = Under("Values");
    ByteBuffer good;
    ASSERT_EQ(CaptureValueState(good, kCurrentUser, values.c_str(), "Text"), 1);
    Set("Values", "Text", REG_DWORD, Number(1));
    const std::string changed = Dump();

    auto valueRecord = [&](ByteBuffer& b, uint32_t kind, uint32_t root, uint32_t existed) {
        b.AppendU32(kind);
        b.AppendU32(root);
        b.AppendText(values.c_str());
        b.AppendText("Text");
        b.AppendU32(existed);
        b.AppendU32(REG_SZ);
        b.AppendBlock("x", 2);
    };
    auto keyRecord = [&](ByteBuffer& b, const char* subkey) {
        b.AppendU32(2);
        b.AppendU32(kCurrentUser);
        b.AppendText(subkey);
        b.AppendU32(1);
    };
    const std::string tree = Under("Tree");
    struct Malformed {
        const char* why;
        std::function<void(ByteBuffer&)> write;
    } cases[] = {
        {"kind 0", [&](ByteBuffer& b) { valueRecord(b, 0, kCurrentUser, 1); }},
        {"kind 3", [&](ByteBuffer& b) { valueRecord(b, 3, kCurrentUser, 1); }},
        {"root 0", [&](ByteBuffer& b) { valueRecord(b, 1, 0, 1); }},
        {"root 0x7FFFFFFF", [&](ByteBuffer& b) { valueRecord(b, 1, 0x7FFFFFFF, 1); }},
        {"root 0x80000007", [&](ByteBuffer& b) { valueRecord(b, 1, 0x80000007, 1); }},
        {"existed 2", [&](ByteBuffer& b) { valueRecord(b, 1, kCurrentUser, 2); }},
        {"no subkey",
         [&](ByteBuffer& b) {
             b.AppendU32(1);
             b.AppendU32(kCurrentUser);
             b.AppendText(nullptr);
             b.AppendText("Text");
             b.AppendU32(0);
         }},
        {"a key record for the root itself", [&](ByteBuffer& b) { keyRecord(b, ""), b.AppendU32(0); }},
        {"a key record for the root, written with backslashes",
         [&](ByteBuffer& b) { keyRecord(b, "\\\\"), b.AppendU32(0); }},
        {"a text without its terminator",
         [&](ByteBuffer& b) {
             b.AppendU32(2);
             b.AppendU32(kCurrentUser);
             b.AppendU32(3);
             b.Append("abc", 3);
             b.AppendU32(0);
         }},
        {"a text with a terminator before its end",
         [&](ByteBuffer& b) {
             b.AppendU32(2);
             b.AppendU32(kCurrentUser);
             b.AppendU32(4);
             b.Append("a\0b", 4);
             b.AppendU32(0);
         }},
        {"a block longer than the bytes",
         [&](ByteBuffer& b) {
             b.AppendU32(1);
             b.AppendU32(kCurrentUser);
             b.AppendText(values.c_str());
             b.AppendText("Text");
             b.AppendU32(1);
             b.AppendU32(REG_SZ);
             b.AppendU32(100);
             b.Append("x", 2);
         }},
        {"an unknown item in a key", [&](ByteBuffer& b) { keyRecord(b, tree.c_str()), b.AppendU32(3); }},
        {"a subkey item without a name",
         [&](ByteBuffer& b) {
             keyRecord(b, tree.c_str());
             b.AppendU32(2);
             b.AppendText(nullptr);
             b.AppendU32(0);
             b.AppendU32(0);
         }},
        {"a subkey item with an empty name",
         [&](ByteBuffer& b) {
             keyRecord(b, tree.c_str());
             b.AppendU32(2);
             b.AppendText("");
             b.AppendU32(0);
             b.AppendU32(0);
         }},
        {"a key without its end mark",
         [&](ByteBuffer& b) {
             keyRecord(b, tree.c_str());
             b.AppendU32(1);
             b.AppendText("V");
             b.AppendU32(REG_SZ);
             b.AppendBlock("v", 2);
         }},
        {"subkeys nested beyond what the registry allows",
         [&](ByteBuffer& b) {
             keyRecord(b, tree.c_str());
             for (int level = 2; level <= 513; ++level) {
                 b.AppendU32(2);
                 b.AppendText("k");
             }
             for (int level = 1; level <= 513; ++level) b.AppendU32(0);
         }},
        {"a stray byte after a whole record",
         [&](ByteBuffer& b) {
             b.Append(good.Data(), good.Size());
             b.Append("\0", 1);
         }},
    };
    for (const Malformed& c : cases) {
        ByteBuffer bytes;
        bytes.Append(good.Data(), good.Size());
        c.write(bytes);
        ASSERT_FALSE(bytes.Failed());
        EXPECT_EQ(RestoreRegistryState(bytes.Data(), bytes.Size()), 0) << c.why;
        EXPECT_EQ(Dump(), changed) << c.why;
    }
    EXPECT_EQ(RestoreRegistryState(good.Data(), good.Size()), 1);
    EXPECT_EQ(Dump(), before) << "the whole record alone does restore";
}

// "\u0100" has no spelling in the ANSI code page: the ANSI functions give
// its name as "?", under which the key cannot be opened. Such a key can be
// neither recorded nor deleted; the restore says so and ends.
TEST_F(RegistryPriorState, NamesTheAnsiFunctionsCannotSpell) {
    auto createWide = [](const std::string& relative, const wchar_t* name) {
        HKEY parent = Create(relative);
        HKEY key = nullptr;
        EXPECT_EQ(RegCreateKeyExW(parent, name, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        const DWORD one = 1;
        RegSetValueExW(key, L"V", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), sizeof one);
        RegCloseKey(key);
        RegCloseKey(parent);
    };
    const std::string tree = Under("Tree");
    const std::string before = Dump();
    const std::string childBefore = Dump("Tree\\Child");
    ByteBuffer record;
    ASSERT_EQ(CaptureKeyState(record, kCurrentUser, tree.c_str()), 1);

    DeleteTree("Tree\\Child");
    createWide("Tree", L"\u0100");
    ASSERT_NE(Dump(), before);
    ByteBuffer out;
    EXPECT_EQ(CaptureKeyState(out, kCurrentUser, tree.c_str()), 0) << "a key that cannot be opened";
    EXPECT_EQ(out.Size(), 0u);

    EXPECT_EQ(RestoreRegistryState(record.Data(), record.Size()), 0) << "the key cannot be deleted";
    EXPECT_EQ(Dump("Tree\\Child"), childBefore) << "what can be restored is";
    EXPECT_NE(Dump("Tree").find("\xC4\x80"), std::string::npos) << "the key stays (shown in UTF-8)";
}

// The registry nests at most 512 levels: a tree of that depth is recorded
// and written back; one level more is neither recorded (the buffer keeps
// what it had) nor deleted.
TEST_F(RegistryPriorState, TreesAreFollowedToTheRegistrysNestingBound) {
    // Made a level at a time: Wine's ANSI functions take no path longer than
    // MAX_PATH in one call.
    auto chain = [](const char* top, int levels) {
        HKEY key = Create(top);
        for (int level = 2; level <= levels && key; ++level) {
            HKEY child = nullptr;
            EXPECT_EQ(RegCreateKeyExA(key, "k", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &child, nullptr),
                      ERROR_SUCCESS)
                << "level " << level;
            RegCloseKey(key);
            key = child;
        }
        DWORD bottom = static_cast<DWORD>(levels);
        EXPECT_EQ(RegSetValueExA(key, "Bottom", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&bottom), 4),
                  ERROR_SUCCESS);
        RegCloseKey(key);
    };
    chain("Deep", 512);
    const std::string before = Dump();
    ASSERT_NE(before.find("Bottom] type 4: 00020000"), std::string::npos) << "512 levels made";
    const std::string deep = Under("Deep");
    ByteBuffer record;
    ASSERT_EQ(CaptureKeyState(record, kCurrentUser, deep.c_str()), 1);
    DeleteTree("Deep");
    ASSERT_EQ(Dump("Deep"), "(missing)");
    EXPECT_EQ(RestoreRegistryState(record.Data(), record.Size()), 1);
    EXPECT_EQ(Dump(), before);

    chain("Deeper", 513);
    const std::string deeper = Under("Deeper");
    ByteBuffer out;
    out.AppendU32(0x11223344);
    EXPECT_EQ(CaptureKeyState(out, kCurrentUser, deeper.c_str()), 0);
    EXPECT_EQ(out.Size(), 4u) << "a tree that could not be recorded adds nothing";

    // Recorded before it was made: restoring must delete it, and cannot.
    const std::string made = Under("Made");
    ByteBuffer absent;
    ASSERT_EQ(CaptureKeyState(absent, kCurrentUser, made.c_str()), 1);
    chain("Made", 513);
    const std::string withMade = Dump();
    EXPECT_EQ(RestoreRegistryState(absent.Data(), absent.Size()), 0);
    EXPECT_EQ(Dump(), withMade) << "nothing of a tree too deep is deleted";
}
