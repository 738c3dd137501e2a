#include "diff/TreeCompare.h"

#include <windows.h>

#include <algorithm>

#include "common/Files.h"
#include "common/SystemMessage.h"

namespace {

bool LessNoCase(const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) < 0; }
bool SameNoCase(const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) == 0; }

bool ListFolder(const std::string& root, const std::string& relative, std::vector<std::string>& files,
                std::string& error) {
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((root + relative + "*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) {
        DWORD code = GetLastError();
        if (code == ERROR_FILE_NOT_FOUND) return true;
        error = "cannot list the folder \"" + root + relative + "\": " + SystemMessage(code);
        return false;
    }
    bool ok = true;
    do {
        std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ok = ListFolder(root, relative + name + "\\", files, error);
        else files.push_back(relative + name);
    } while (ok && FindNextFileA(find, &found));
    FindClose(find);
    return ok;
}

// The file's bytes equal? Sizes first: most changed files differ in size.
bool SameContent(const std::string& a, const std::string& b, bool& same, std::string& error) {
    WIN32_FILE_ATTRIBUTE_DATA da{}, db{};
    if (!GetFileAttributesExA(a.c_str(), GetFileExInfoStandard, &da) ||
        !GetFileAttributesExA(b.c_str(), GetFileExInfoStandard, &db)) {
        error = "cannot read the size of \"" + a + "\" or \"" + b + "\"";
        return false;
    }
    if (da.nFileSizeLow != db.nFileSizeLow || da.nFileSizeHigh != db.nFileSizeHigh) {
        same = false;
        return true;
    }
    std::string x, y;
    if (!ReadFileBytes(a, x)) error = "cannot read \"" + a + "\"";
    else if (!ReadFileBytes(b, y)) error = "cannot read \"" + b + "\"";
    else {
        same = x == y;
        return true;
    }
    return false;
}

// A file in one tree whose path is a folder in the other: the patch cannot
// remove or create folders in place of files.
bool FolderInTheWay(const std::vector<std::string>& files, const std::string& path) {
    std::string prefix = path + "\\";
    auto at = std::lower_bound(files.begin(), files.end(), prefix, LessNoCase);
    return at != files.end() && at->size() > prefix.size() && SameNoCase(at->substr(0, prefix.size()), prefix);
}

}  // namespace

bool ListTree(const std::string& root, std::vector<std::string>& files, std::string& error) {
    files.clear();
    if (!ListFolder(root, "", files, error)) return false;
    std::sort(files.begin(), files.end(), LessNoCase);
    return true;
}

bool CompareTrees(const std::string& oldRoot, const std::string& newRoot, std::vector<TreeDifference>& differences,
                  const std::function<void(std::size_t, std::size_t)>& progress, std::string& error) {
    std::vector<std::string> before, after;
    if (!ListTree(oldRoot, before, error) || !ListTree(newRoot, after, error)) return false;
    differences.clear();
    std::size_t total = before.size() + after.size(), done = 0, i = 0, j = 0;
    while (i < before.size() || j < after.size()) {
        if (j == after.size() || (i < before.size() && LessNoCase(before[i], after[j]))) {
            if (FolderInTheWay(after, before[i])) {
                error = "\"" + before[i] + "\" is a file in the old folder and a folder in the new one; a patch cannot "
                        "put a folder in place of a file";
                return false;
            }
            differences.push_back({FileChange::Removed, before[i++]});
            done += 1;
        } else if (i == before.size() || LessNoCase(after[j], before[i])) {
            if (FolderInTheWay(before, after[j])) {
                error = "\"" + after[j] + "\" is a file in the new folder and a folder in the old one; a patch cannot "
                        "remove folders";
                return false;
            }
            differences.push_back({FileChange::Added, after[j++]});
            done += 1;
        } else {
            bool same = false;
            if (!SameContent(oldRoot + before[i], newRoot + after[j], same, error)) return false;
            differences.push_back({same ? FileChange::Unchanged : FileChange::Changed, after[j]});
            ++i, ++j;
            done += 2;
        }
        progress(done, total);
    }
    return true;
}

std::string FolderPart(const std::string& relative) {
    std::size_t slash = relative.find_last_of('\\');
    return slash == std::string::npos ? std::string() : relative.substr(0, slash);
}

std::string NamePart(const std::string& relative) {
    std::size_t slash = relative.find_last_of('\\');
    return slash == std::string::npos ? relative : relative.substr(slash + 1);
}
