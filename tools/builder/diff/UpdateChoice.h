// The choice, for one changed file, of how the patch carries the change:
// the payload that is smallest once compressed, among the ways that turn
// the installed old version into exactly the new one.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

enum class UpdateWay {
    XorDelta,     // Act 2: new XOR old; the old file's CRC is checked first
    BinaryDelta,  // Act 8: copies from anywhere in the old file and new bytes; checked the same way
    WholeFile,  // Act 1: the new file itself, added over the old one
    IniKeys,    // Act 5: key lines written into the installed INI file
};

struct UpdateChoice {
    UpdateWay way = UpdateWay::XorDelta;
    std::string payload;             // the Proc file (none for IniKeys)
    std::vector<std::string> lines;  // IniKeys: "section,key[,value]"
    std::size_t cost = 0;            // compressed payload bytes, or script bytes for IniKeys
};

struct UpdateRules {
    // The file is replaced at restart when in use (Delay): only a delta
    // keeps that, so neither the whole file nor INI keys are a choice.
    bool delayed = false;
    // May the binary delta be tried? (It costs a suffix sort of the old file.)
    bool binaryDelta = true;
    // May a plain INI file be patched by its keys?
    bool iniKeys = true;
};

// The XOR delta that turns `oldBytes` into `newBytes`: new XOR old where both
// have a byte, the new bytes beyond the old length; as long as the new file.
std::string XorDelta(const std::string& oldBytes, const std::string& newBytes);

// Bytes of `data` after deflate, the compression of the payload cabinet.
std::size_t CompressedSize(const std::string& data);

UpdateChoice ChooseUpdate(const std::string& oldBytes, const std::string& newBytes, const UpdateRules& rules);

const char* UpdateWayName(UpdateWay way);
