// Carrying out one step of a transaction's plan, undoing it, and clearing up
// after a whole commit. A plan is undone, and finished, from its last step
// to its first. Undo reads the step's state from which of its files
// exist, never from memory, so that the run itself (a later step failed) and
// the next start after a run was cut short undo alike, and undoing a step
// twice, or one that was never done, is harmless.
#pragma once
#include "core/FileSwap.h"
#include "core/neutral/TransactionPlan.h"

// 1, or 0 with the reason in GetLastError and the step undone or never
// begun.
int CommitStep(const PlanStep& step, const SwapPlatform& platform);
// Puts the step's target back as it was before the run. 1 when it is.
int UndoStep(const PlanStep& step, const SwapPlatform& platform);
// After every step was committed: the old version goes (at the next restart
// when a program still runs it), and anything prepared and not used.
void FinishStep(const PlanStep& step, const SwapPlatform& platform);

