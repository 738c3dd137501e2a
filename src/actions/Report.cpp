#include "actions/Report.h"

#include <windows.h>
#include <malloc.h>

#include <cstring>

#include "actions/neutral/ReportText.h"
#include "core/ResourceIds.h"
#include "core/Resources.h"
#include "core/RunLog.h"
#include "core/RunState.h"

namespace {

void AppendParagraph(const char* name, const char* path, const char* word) {
    // The report's length and room are taken from the text itself, never
    // remembered: whatever text ReportText holds is extended from its end.
    char* text = RunState.ReportText.get();
    std::size_t length = text ? std::strlen(text) : 0;
    std::size_t capacity = text ? _msize(text) : 0;
    // Out of memory: the report keeps what it had rather than losing it.
    AppendReportParagraph(&RunState.ReportText, &length, &capacity, name, path, word);
}

}  // namespace

void AppendReportLine(int reportCode, const char* path, int result, bool skipped) {
    const unsigned wordId = skipped ? ResResultSkipped : (result != 0 ? ResResultSuccess : ResResultFailure);
    AppendReportOutcome(reportCode, path, wordId, nullptr);
}

void AppendReportOutcome(int reportCode, const char* path, unsigned wordId, const char* detail) {
    // Any other code would pick an unrelated resource as its name.
    if (reportCode < 0 || reportCode > kRegistryReportCode) return;
    const char* name = ResourceText(ResReportNameFirst + static_cast<unsigned>(reportCode));
    const char* word = ResourceText(wordId);
    if (!detail || !*detail) {
        AppendParagraph(name, path, word);
        return;
    }
    char worded[640];
    wsprintfA(worded, "%.100s: %.500s", word ? word : "", detail);
    AppendParagraph(name, path, worded);
}

void AppendReportText(unsigned textId) {
    const char* text = ResourceText(textId);
    if (text) AppendParagraph(text, nullptr, nullptr);
}

void FormatActionLabel(char* label, const ActionInfo& action) {
    wsprintfA(label, "Action %d (%s)", static_cast<int>(action.code), action.name);
}

void ReportEntryResult(const ActionInfo& action, const char* path, int result, bool skipped) {
    char label[kActionLabelSize];
    FormatActionLabel(label, action);
    NoteActionResult(label, path, result, skipped);
    AppendReportLine(action.reportCode, path, result, skipped);
}

void ReportRegistryResult(int result) {
    NoteActionResult("Registry sections", nullptr, result, false);
    AppendReportLine(kRegistryReportCode, " ", result, false);
}
