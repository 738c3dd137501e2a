// The processing pass over all entries, and its result report.
#pragma once

class PassHost;

// Runs every entry's action and the registry sections, appending one report
// paragraph per entry and one for the registry to ReportText. The host shows
// its progress. Without the patch's transaction setting no entry stops the
// pass; with it, the pass is one transaction (actions/TransactionPass.h).
void RunProcessingPass(PassHost& host);
