// Making the sealed credit resources plain at start-up (the scheme is
// described in core/neutral/CreditSeal.h).
#pragma once

// Unscrambles every sealed resource of the running module and serves it in
// its plain form from then on (SetPlainResource). 1 when the seal in
// resource 30 matches what was unscrambled, 0 when resource 30 is missing or
// the credits were altered (nothing is made plain then).
int MakeCreditsPlain();
