// The passes' host in the wizard: the folder box holds the folder the user
// confirms, the folder page asks the folder question, the work pages' bar
// shows progress.
#pragma once
#include "script/neutral/PassHost.h"

class WizardHost : public PassHost {
public:
    HeapText ConfirmedFolder() override;
    void OfferFolder(const char* folder) override;
    int AskForFolder(HeapText* folder) override;
    void BeginProgress(uint32_t entries) override;
    void ShowProgress(uint32_t entry) override;
    void EndProgress() override;
};
