// Two releases of one small program, built from this file with
// SAMPLE_APP_VERSION 1 and 2: the kind of pair a patch updates. Version 2
// adds an option early in the code, so that everything after it moves, and
// changes some texts, as a real bug-fix release does.
#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

struct Word {
    std::string text;
    int count;
};

std::vector<Word> CountWords(const std::string& text) {
    std::map<std::string, int> counts;
    std::string word;
    for (char c : text + " ") {
        if (c == ' ' || c == '\n' || c == '\t') {
            if (!word.empty()) ++counts[word];
            word.clear();
        } else {
            word += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        }
    }
    std::vector<Word> words;
    for (const auto& [text_, count] : counts) words.push_back({text_, count});
    std::sort(words.begin(), words.end(), [](const Word& a, const Word& b) { return a.count > b.count; });
    return words;
}

#if SAMPLE_APP_VERSION >= 2
// New in version 2: the longest words first.
std::vector<Word> LongestWords(std::vector<Word> words, std::size_t limit) {
    std::stable_sort(words.begin(), words.end(),
                     [](const Word& a, const Word& b) { return a.text.size() > b.text.size(); });
    if (words.size() > limit) words.resize(limit);
    return words;
}
#endif

std::string ReadAll(std::FILE* in) {
    std::string text;
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, in)) > 0) text.append(buffer, n);
    return text;
}

}  // namespace

int main(int argc, char** argv) {
#if SAMPLE_APP_VERSION >= 2
    std::printf("sample app 2.0 (with --longest)\n");
#else
    std::printf("sample app 1.0\n");
#endif
    std::FILE* in = argc > 1 ? std::fopen(argv[argc - 1], "rb") : stdin;
    if (!in) {
        std::fprintf(stderr, "cannot open %s\n", argv[argc - 1]);
        return 1;
    }
    std::vector<Word> words = CountWords(ReadAll(in));
#if SAMPLE_APP_VERSION >= 2
    if (argc > 2 && std::string(argv[1]) == "--longest") words = LongestWords(words, 10);
#endif
    for (const Word& w : words) std::printf("%6d %s\n", w.count, w.text.c_str());
    return 0;
}
