// Small Microsoft Cabinet files for tests, written by hand without
// compression, so that the tests do not depend on the code that they check.
#pragma once
#include <string>
#include <utility>
#include <vector>

// (stored name, content) pairs; returns the whole cabinet file.
std::string MakeStoredCabinet(const std::vector<std::pair<std::string, std::string>>& files);
// The 32-bit little-endian size field at offset 8 of a cabinet header.
unsigned CabinetSizeField(const std::string& cabinet);
