// The passes' host when nobody is there to ask: the folder comes from /dir=
// (or, without it, the one the check found for entry 1) and the folder
// question is answered by /dir= alone. Progress is the wizard's own, on the
// bar of RunState.DialogWindow: the /passive window's, none under /quiet.
#pragma once
#include "wizard/WizardHost.h"

class UnattendedHost : public WizardHost {
public:
    HeapText ConfirmedFolder() override;
    void OfferFolder(const char* folder) override;
    int AskForFolder(HeapText* folder) override;

private:
    HeapText offered_;
};
