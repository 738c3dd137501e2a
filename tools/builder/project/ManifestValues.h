// The value forms of the manifest: numbers, byte lists and execution levels.
// Numbers are decimal (a leading 0 is still decimal: "010" is ten) or
// hexadecimal with "0x"; a byte list is numbers separated by commas, with no
// empty item.
#pragma once
#include <string>

// False when `text` is not a number in one of those forms or is above `limit`.
bool ParseManifestNumber(const std::string& text, unsigned long limit, unsigned long& value);

// Bytes 0 to 255 separated by commas; false on an empty item (a trailing or
// doubled comma), a value out of range or text that is no number.
bool ParseManifestBytes(const std::string& text, std::string& bytes);

// [Settings] ExecutionLevel: the spelling Windows reads of `value`
// (asInvoker, highestAvailable or requireAdministrator, matched without
// case); empty when it is none of them.
std::string CanonicalExecutionLevel(const std::string& value);

// The level written when the manifest names none.
constexpr const char* kDefaultExecutionLevel = "highestAvailable";
