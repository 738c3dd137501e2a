// What every wizard page must look like from outside: window title, texts,
// which controls are shown, and the state of the two buttons. The e2e patch
// projects give every text resource n the text "R<n>", so the expected text
// of a control is known from the resource the page takes it from.
#pragma once
#include <windows.h>

#include <string>

#include "core/ResourceIds.h"
#include "wizard/ControlIds.h"

// The text of resource `id` in the e2e projects.
std::string Res(int id);
// The wizard's window title on a page with caption resource `captionId`.
std::string PageTitle(int captionId);

struct PageState {
    bool backVisible = true;
    bool backEnabled = true;
    bool nextEnabled = true;
};

// Checks title, texts, shown and hidden controls and buttons of `page`
// (1..11; 6 and 7 after their pass has finished) with gtest expectations.
// `report` is the expected body of page 8. Returns false when a check failed.
bool ExpectPage(HWND dialog, int page, const PageState& buttons = PageState(),
                const std::string& report = std::string());

// The labels of the two buttons: Next reads "Finish" from page 11 on, Back
// reads "Cancel" on page 1.
void ExpectButtonLabels(HWND dialog, int page);
