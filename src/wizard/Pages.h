// The wizard's pages: entering each page and the steps of the dialog's
// initialisation that belong to the pages.
#pragma once

void EnterIntroductionPage();
void SetFixedLabels();
void LoadOptionStates();
