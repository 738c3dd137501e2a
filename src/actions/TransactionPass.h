// The processing pass with the patch's transaction setting on: every entry
// is prepared, in order, before any target changes; then the plan is
// committed as a whole, or undone as a whole. The report and the log say
// what became of each entry, and whether the application was changed.
#pragma once

class PassHost;

void RunTransactionPass(PassHost& host);
