// The result report that the report page shows: one paragraph per entry and
// one for the registry sections.
#pragma once

#include "script/neutral/ActionCodes.h"

// Appends "name path word\r\n\r\n" to ReportText: the name of resource 3000 +
// `reportCode` (an action's report code, or kRegistryReportCode), the result
// word of resource 3102 when `skipped`, else 3100 for a non-zero `result`
// and 3101 for 0. A code outside 0..8 has no name and appends nothing.
void AppendReportLine(int reportCode, const char* path, int result, bool skipped);
// The same with result word `wordId` (a resource), followed by ": " and
// `detail` when there is one (why an entry failed).
void AppendReportOutcome(int reportCode, const char* path, unsigned wordId, const char* detail);
// A paragraph of its own: the text of resource `textId`.
void AppendReportText(unsigned textId);
// "Action 2 (XOR-delta update)": how the log names an entry's action.
constexpr int kActionLabelSize = 64;
void FormatActionLabel(char* label, const ActionInfo& action);
// An entry's result: logged under its action's code and name, reported
// under its action's label.
void ReportEntryResult(const ActionInfo& action, const char* path, int result, bool skipped);
// The registry sections' result as a whole, logged and reported as one line.
void ReportRegistryResult(int result);
