#include "actions/Report.h"

#include <malloc.h>

#include <cstring>

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
    // The report's length and room are taken from the text itself, never
    // remembered: whatever text ReportText holds is extended from its end.
    char* text = RunState.ReportText.get();
    std::size_t length = text ? std::strlen(text) : 0;
    std::size_t capacity = text ? _msize(text) : 0;
    // Out of memory: the report keeps what it had rather than losing it.
    AppendReportParagraph(&RunState.ReportText, &length, &capacity, name, path, word);
}
