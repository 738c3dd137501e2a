// A patch project put together by a test and built into a patch executable
// with zulibuild. Every text resource n reads "R<n>" (see WizardPages.h);
// the test chooses the page table, the option defaults, the script and the
// payload files.
#pragma once
#include <map>
#include <set>
#include <string>

class PatchProject {
public:
    // The project lives in a fresh scratch folder named after `name`.
    explicit PatchProject(const std::string& name);
    ~PatchProject();
    PatchProject(const PatchProject&) = delete;
    PatchProject& operator=(const PatchProject&) = delete;

    // Slots 0..13 as 14 characters '0' or '1'.
    void SetPageTable(const std::string& slots) { pageTable_ = slots; }
    // Backup, skip-differing, skip-missing as three characters '0' or '1'.
    void SetOptionDefaults(const std::string& options) { options_ = options; }
    // A further line of [Settings] ("ExecutionLevel=asInvoker").
    void AddSetting(const std::string& line) { settings_ += line + "\r\n"; }
    void SetText(int id, const std::string& text) { texts_[id] = text; }
    // Leaves text `id` out of the manifest: the builder's default takes its
    // place.
    void UseDefaultText(int id) { defaultTexts_.insert(id); }
    // A further line of [Texts] ("SupportAddress=...").
    void AddTextLine(const std::string& line) { textLines_ += line + "\r\n"; }
    // A file of the payload cabinet ("Setup.ini", "Proc1", ...).
    void AddFile(const std::string& name, const std::string& content) { files_[name] = content; }
    // More manifest text, for example a [Backup] section.
    void AddManifest(const std::string& text) { extraManifest_ += text; }
    // Builds with the zulibuild.exe in `folder` (with a trailing backslash),
    // and so with the backup companion beside it there, instead of the one
    // of the build.
    void UseBuilderIn(const std::string& folder) { builderFolder_ = folder; }

    // Writes the project and runs zulibuild; the patch executable's path, or
    // an empty string (the builder's output is then in BuildLog()).
    std::string Build();
    const std::string& BuildLog() const { return log_; }
    const std::string& Folder() const { return folder_; }

private:
    std::string name_;
    std::string folder_;
    std::string pageTable_ = "11111111111111";
    std::string options_ = "000";
    std::map<int, std::string> texts_;
    std::set<int> defaultTexts_;
    std::string textLines_;
    std::map<std::string, std::string> files_;
    std::string log_;
    std::string extraManifest_;
    std::string settings_;
    std::string builderFolder_;
};

// Every text resource id the runtime reads (besides the optional cursors).
extern const int kPatchTextIds[];
extern const int kPatchTextIdCount;
