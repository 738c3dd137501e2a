// The processing pass over all entries, and its result report.
#pragma once

// Runs every entry's action and the registry sections, building ReportText.
int RunProcessingPass();
