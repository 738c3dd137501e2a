#include "wizard/neutral/PageWalk.h"

// Both walks are bounded by the two ends of the table whatever their slots
// hold: a table built without slot 0 or slot 12 must not send the walk into
// the bytes around it.

int NextShownPage(const unsigned char* pageTable, int page) {
    int next = page < kFirstSentinelPage ? kFirstSentinelPage + 1 : page + 1;
    while (next < kFinishPage && pageTable[next] == 0) ++next;
    return next < kFinishPage ? next : kFinishPage;
}

int PreviousShownPage(const unsigned char* pageTable, int page) {
    int previous = page > kFinishPage ? kFinishPage - 1 : page - 1;
    while (previous > kFirstSentinelPage && pageTable[previous] == 0) --previous;
    return previous > kFirstSentinelPage ? previous : kFirstSentinelPage;
}
