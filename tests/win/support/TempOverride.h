// Points the process's temporary directory (TMP and TEMP) at another folder
// for the life of the object, so that tests of the working folder under the
// temporary directory do not meet each other or an earlier run.
#pragma once
#include <string>

class TempOverride {
public:
    explicit TempOverride(const std::string& folder);
    ~TempOverride();
    TempOverride(const TempOverride&) = delete;
    TempOverride& operator=(const TempOverride&) = delete;

private:
    std::string oldTmp_, oldTemp_;
    bool hadTmp_ = false, hadTemp_ = false;
};
