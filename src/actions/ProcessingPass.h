// The processing pass over all entries, and its result report.
#pragma once

class PassHost;

// Runs every entry's action and the registry sections, appending one report
// paragraph per entry and one for the registry to ReportText. No entry stops
// the pass. The host shows its progress.
void RunProcessingPass(PassHost& host);
