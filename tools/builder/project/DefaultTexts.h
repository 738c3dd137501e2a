// The wizard's texts in plain English, so that a manifest gives only the
// texts it wants to change. "{title}" in a default stands for the patch's
// title (text 1); "{support}" for a sentence naming the support address
// ([Texts] SupportAddress), or for nothing when the manifest gives none.
#pragma once
#include <string>

struct DefaultText {
    unsigned id;
    int page;             // wizard page that shows it; 0 for every page or a message
    const char* control;  // where it appears, for the guide and for messages
    const char* text;     // null: no default, the author must give it when its page is shown
};

// Every text resource of the runtime but 1 (the title) and the font face.
const DefaultText* AllDefaultTexts(unsigned& count);
const DefaultText* FindDefaultText(unsigned id);

// The default with "{title}" replaced by `title` and "{support}" by the
// sentence for `support`; empty when there is none.
std::string ExpandDefaultText(const DefaultText& text, const std::string& title, const std::string& support);

// What "{support}" stands for: a line break and "If you need help, contact
// ADDRESS."; empty for no address.
std::string SupportSentence(const std::string& support);
