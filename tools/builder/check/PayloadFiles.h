// The files the payload cabinet will carry, looked up by their stored name,
// so that the script and its payloads can be checked before anything is
// built: the files that [Cabinet] Files names, or the content of a ready
// cabinet, unpacked into a scratch folder that is removed again.
#pragma once
#include <map>
#include <string>
#include <vector>

#include "common/Cabinet.h"

class PayloadFiles {
public:
    PayloadFiles() = default;
    PayloadFiles(const PayloadFiles&) = delete;
    PayloadFiles& operator=(const PayloadFiles&) = delete;
    ~PayloadFiles();

    // From the files of [Cabinet] Files.
    void UseFiles(const std::vector<CabinetFile>& files);
    // From a ready cabinet's bytes: lists its directory and unpacks it.
    bool UseReadyCabinet(const std::string& cabinet, const std::string& cabinetPath, std::string& error);

    // Stored names match without case, as file names do on Windows.
    bool Has(const std::string& storedName) const;
    // The path of the file on disk; empty when the cabinet does not carry it.
    std::string PathOf(const std::string& storedName) const;
    bool Read(const std::string& storedName, std::string& bytes) const;
    // Where the files are described in messages: "[Cabinet] Files" or the
    // ready cabinet's path.
    const std::string& Origin() const { return origin_; }

private:
    std::map<std::string, std::string> byLowerName_;  // lower-case stored name -> path on disk
    std::string scratch_;  // folder of an unpacked ready cabinet
    std::string origin_;
};
