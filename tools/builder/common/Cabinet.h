// The payload cabinet: built with the system's cabinet library (FCI,
// MSZIP compression) or taken ready-made.
#pragma once
#include <string>
#include <vector>

struct CabinetFile {
    std::string source;      // path of the file on disk
    std::string storedName;  // its name inside the cabinet (no folders)
};

// Packs `files` under their stored names into a cabinet and returns its
// bytes in `cabinet`.
bool BuildCabinet(const std::vector<CabinetFile>& files, std::string& cabinet, std::string& error);

// Checks a ready cabinet: its signature and its size field (offset 8). Bytes
// past the size the header names are dropped, so that the stored resource is
// exactly as long as the cabinet says; a cabinet shorter than its header
// claims is refused.
bool CheckCabinet(const std::string& path, std::string& cabinet, std::string& error);
