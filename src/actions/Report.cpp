#include "actions/Report.h"

#include "actions/neutral/ReportText.h"
#include "core/ResourceIds.h"
#include "core/Resources.h"
#include "core/RunLog.h"
#include "core/RunState.h"

void AppendReportLine(int code, const char* path, int result, bool skipped) {
    NoteActionResult(code, path, result, skipped);
    // Any other code would pick an unrelated resource as its name.
    if (code < 0 || code > kRegistryActionCode) return;
    const char* name = ResourceText(ResReportNameFirst + static_cast<unsigned>(code));
    const unsigned wordId = skipped ? ResResultSkipped : (result != 0 ? ResResultSuccess : ResResultFailure);
    const char* word = ResourceText(wordId);
    HeapText extended = AppendReportParagraph(RunState.ReportText.get(), name, path, word);
    // Out of memory: the report keeps what it had rather than losing it.
    if (extended) RunState.ReportText = std::move(extended);
}
