// The files of two folder trees side by side: which are changed, added,
// removed or unchanged, by relative path.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Every file under `root` (a folder path with a trailing backslash), as paths
// relative to it with backslashes, sorted without regard to case as Windows
// compares names. Folders themselves are not listed.
bool ListTree(const std::string& root, std::vector<std::string>& files, std::string& error);

enum class FileChange { Changed, Added, Removed, Unchanged };

struct TreeDifference {
    FileChange change;
    std::string relative;  // as named in the new tree (the old one when removed)
};

// Compares the trees file by file (size, then content). `progress` is told
// after each file how many of how many were looked at.
bool CompareTrees(const std::string& oldRoot, const std::string& newRoot, std::vector<TreeDifference>& differences,
                  const std::function<void(std::size_t done, std::size_t total)>& progress, std::string& error);

// Relative path split into its folder part ("" at the root) and file name.
std::string FolderPart(const std::string& relative);
std::string NamePart(const std::string& relative);
