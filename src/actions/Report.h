// The result report that the report page shows: one paragraph per entry and
// one for the registry sections.
#pragma once

// The action codes of the report: the entry's Act value 0..7, or the
// registry sections as a whole.
constexpr int kRegistryActionCode = 8;

// Appends "name path word\r\n\r\n" to ReportText: the name of resource 3000 +
// `code`, the result word of resource 3102 when `skipped`, else 3100 for a
// non-zero `result` and 3101 for 0. A code outside 0..8 has no name and
// appends nothing.
void AppendReportLine(int code, const char* path, int result, bool skipped);
