// What the checks of a patch project found: mistakes stop the build,
// warnings are printed and the build goes on.
#pragma once
#include <string>
#include <vector>

struct Finding {
    bool warning;
    std::string where;    // file, section and key: "Setup.ini: [Proc2] Act"
    std::string message;
};

class Findings {
public:
    void Mistake(const std::string& where, const std::string& message) { all_.push_back({false, where, message}); }
    void Warning(const std::string& where, const std::string& message) { all_.push_back({true, where, message}); }
    bool HasMistakes() const {
        for (const Finding& finding : all_)
            if (!finding.warning) return true;
        return false;
    }
    const std::vector<Finding>& All() const { return all_; }

private:
    std::vector<Finding> all_;
};
