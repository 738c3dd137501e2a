// Walking the page table: which page Next and Back reach from a page.
// Platform-neutral so that the walk can be tested on its own.
#pragma once

constexpr int kFirstSentinelPage = 0;  // reaching it by Back ends the wizard
constexpr int kFinishPage = 12;        // reaching it by Next finishes
constexpr int kPageSlotCount = 14;     // slots 0..13; 13 is never read

// The first page after `page` whose slot is nonzero. The finish step (12)
// always counts as set, so a table without it still stops there.
int NextShownPage(const unsigned char* pageTable, int page);

// The first page before `page` whose slot is nonzero. The start sentinel (0)
// always counts as set, so a table without it still stops there.
int PreviousShownPage(const unsigned char* pageTable, int page);
