// The runtime a patch is built from. Only the bare runtime is accepted: a
// runtime that already carries patch resources (an earlier patch given as
// RUNTIME) would pass its old resources on, and a signed one would have its
// signature broken without a word by every resource added.
#pragma once
#include <string>
#include <vector>

#include <windows.h>

// Reads `path` into `image` and checks that it is a Windows program, not
// signed and without patch resources; otherwise false with a message.
bool ReadBareRuntime(const std::string& path, std::string& image, std::string& error);

// True when the program image carries an Authenticode signature (a
// certificate table in its header).
bool IsSignedImage(const std::string& image);

// The languages under which the program at `path` holds resource (type, id).
std::vector<WORD> ResourceLanguages(const std::string& path, LPCSTR type, unsigned id);
// The bytes of that resource in that language; false when absent.
bool ReadProgramResource(const std::string& path, LPCSTR type, unsigned id, WORD language, std::string& bytes);
