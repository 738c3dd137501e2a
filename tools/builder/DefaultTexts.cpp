#include "DefaultTexts.h"

namespace {

const DefaultText kTexts[] = {
    {113, 1, "Back button on page 1", "Cancel"},
    {114, 0, "Next button", "&Next >"},
    {115, 0, "Back button after page 1", "< &Back"},
    {116, 11, "Next button on the last page", "&Finish"},
    {117, 5, "Browse button", "B&rowse..."},
    {200, 1, "window title", "Welcome"},
    {201, 1, "text box",
     "Welcome to {title}.\r\n\r\nThis wizard brings the installed program up to date. Please close the program "
     "before you go on.\r\n\r\nPress Next to continue, or Cancel to leave without changing anything."},
    {202, 2, "window title", "Information"},
    {203, 2, "text box",
     "{title} changes the files of the installed program.\r\n\r\nNothing is changed until every file has been "
     "checked and found to be the expected version."},
    {204, 3, "window title", "Licence agreement"},
    {205, 3, "text box",
     "Please read the licence agreement of the program that {title} updates. You may install this update only "
     "if you accept that agreement.\r\n\r\nThe update is provided as is, without warranty of any kind."},
    {206, 3, "agree choice", "I &accept the agreement"},
    {207, 3, "do-not-agree choice", "I do &not accept the agreement"},
    {208, 4, "window title", "Options"},
    {209, 4, "frame title", "Update options"},
    {210, 4, "backup box", "&Back up the files that are changed"},
    {211, 4, "skip-differing box", "Skip files that &differ from the expected version"},
    {212, 4, "skip-missing box", "Skip &missing files"},
    {213, 4, "show-report box", "Show the &report when the update is done"},
    {214, 5, "frame title; title of the folder browser", "Installation folder"},
    {215, 5, "notice",
     "{title} updates the program installed in the folder below. To update another copy, type its folder or "
     "press Browse."},
    {216, 5, "lower note", "Press Next to check the installed files."},
    {217, 5, "window title", "Choose the folder"},
    {220, 6, "notice while checking", "Checking the installed files..."},
    {221, 6, "lower note while checking", "Please wait. Nothing has been changed yet."},
    {223, 6, "window title", "Checking"},
    {224, 6, "frame title", "Installed files"},
    {230, 7, "window title", "Updating"},
    {231, 7, "frame title", "Progress"},
    {232, 7, "notice while updating", "Updating the installed files..."},
    {233, 7, "lower note while updating", "Please wait, and do not switch off the computer."},
    {235, 8, "window title", "Report"},
    {240, 9, "window title", "Finished"},
    {241, 9, "text box", "{title} is complete.\r\n\r\nPress Next to finish."},
    {242, 10, "name caption", "Name:"},
    {243, 10, "e-mail caption", "E-mail:"},
    {244, 10, "web caption", "Web:"},
    {245, 10, "name text (the author)", nullptr},
    {246, 10, "mail link text", nullptr},
    {247, 10, "web link text and address", nullptr},
    {248, 10, "notice", "This update was prepared by:"},
    {249, 10, "frame title", "Author"},
    {250, 10, "address handed to the mail program (mailto:...)", nullptr},
    {251, 10, "window title", "About this update"},
    {260, 11, "window title", "Made with Zuli"},
    {261, 11, "notice", "This patch was made with the Zuli patch runtime."},
    {262, 11, "name text", "Zuli"},
    {263, 11, "mail link text", "zuli@zuli.example"},
    {264, 11, "web link text and address", "http://zuli.example/"},
    {265, 11, "address handed to the mail program", "mailto:zuli@zuli.example"},
    {267, 11, "frame title", "Patch maker"},
    {268, 11, "name caption", "Name:"},
    {269, 11, "e-mail caption", "E-mail:"},
    {270, 11, "web caption", "Web:"},
    {1200, 6, "check error box: first line when a required file is missing",
     "This file is needed and cannot be skipped, because it is missing:"},
    {1201, 6, "check error box: first line when a required file differs",
     "This file is needed and cannot be skipped, because it is not the expected version:"},
    {1202, 6, "check error box: before the path of a missing file", "Missing file: "},
    {1203, 6, "check error box: before the path of a differing file", "Not the expected version: "},
    {1204, 6, "check error box: the folder named in the registry was not found",
     "The program's folder named in the registry was not found. Is the program installed?"},
    {1250, 6, "check error box: last line", "Press OK to choose the folder again, or Cancel to quit."},
    {3000, 8, "report: run file", "Run file"},
    {3001, 8, "report: add file", "Add file"},
    {3002, 8, "report: update file", "Update file"},
    {3003, 8, "report: replace bytes", "Replace bytes"},
    {3004, 8, "report: delete file", "Delete file"},
    {3005, 8, "report: update INI file", "Update INI file"},
    {3006, 8, "report: rename file", "Rename file"},
    {3007, 8, "report: update document (action 7 makes no report line)", "Update document"},
    {3008, 8, "report: registry", "Update registry"},
    {3100, 8, "report: result word for success", "done"},
    {3101, 8, "report: result word for failure", "FAILED"},
    {3102, 8, "report: result word for a skipped entry", "skipped"},
    {3200, 6, "notice after a successful check", "All files are as expected. Press Next to start the update."},
    {3201, 7, "notice after updating", "The update is complete."},
    {3202, 0, "lower note on pages 6 and 7 after the work", "Press Next to continue."},
    {3203, 0, "restart question", "The update finishes when the computer restarts. Restart now?"},
    {3204, 0, "caption of the restart question", "Restart"},
    {3205, 6, "caption of the check error box", "Check failed"},
};

}  // namespace

const DefaultText* AllDefaultTexts(unsigned& count) {
    count = sizeof kTexts / sizeof kTexts[0];
    return kTexts;
}

const DefaultText* FindDefaultText(unsigned id) {
    for (const DefaultText& text : kTexts)
        if (text.id == id) return &text;
    return nullptr;
}

std::string ExpandDefaultText(const DefaultText& text, const std::string& title) {
    if (!text.text) return std::string();
    std::string expanded = text.text;
    static const std::string kTitle = "{title}";
    for (std::size_t at = expanded.find(kTitle); at != std::string::npos; at = expanded.find(kTitle, at + title.size()))
        expanded.replace(at, kTitle.size(), title);
    return expanded;
}
