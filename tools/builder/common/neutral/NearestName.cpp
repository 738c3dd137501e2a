#include "common/neutral/NearestName.h"

#include <algorithm>
#include <cctype>

namespace {

constexpr int kMostEdits = 2;

char Fold(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

}  // namespace

int NameDistance(const std::string& a, const std::string& b) {
    // Edits between the first i letters of a and the first j of b, three rows
    // at a time: a swap looks two rows back.
    const std::size_t n = b.size();
    std::vector<int> before(n + 1), previous(n + 1), current(n + 1);
    for (std::size_t j = 0; j <= n; ++j) previous[j] = static_cast<int>(j);
    for (std::size_t i = 1; i <= a.size(); ++i) {
        current[0] = static_cast<int>(i);
        for (std::size_t j = 1; j <= n; ++j) {
            int replace = previous[j - 1] + (Fold(a[i - 1]) == Fold(b[j - 1]) ? 0 : 1);
            current[j] = std::min({previous[j] + 1, current[j - 1] + 1, replace});
            if (i > 1 && j > 1 && Fold(a[i - 1]) == Fold(b[j - 2]) && Fold(a[i - 2]) == Fold(b[j - 1]))
                current[j] = std::min(current[j], before[j - 2] + 1);
        }
        before.swap(previous);
        previous.swap(current);
    }
    return previous[n];
}

std::string NearestName(const std::string& name, const std::vector<std::string>& known) {
    std::string nearest;
    int best = std::min<int>(kMostEdits, static_cast<int>(name.size()) - 1) + 1;  // first distance too far
    for (const std::string& candidate : known) {
        int distance = NameDistance(name, candidate);
        if (distance == 0) return candidate;
        if (distance < best) {
            nearest = candidate;
            best = distance;
        }
    }
    return nearest;
}

std::string DidYouMean(const std::string& name, const std::vector<std::string>& known) {
    std::string nearest = NearestName(name, known);
    return nearest.empty() ? std::string() : " (did you mean " + nearest + "?)";
}
