#include "project/DefaultTexts.h"

#include "core/ResourceIds.h"

namespace {

const DefaultText kTexts[] = {
    {ResCancelLabel, 1, "Back button on page 1", "Cancel"},
    {ResNextLabel, 0, "Next button", "&Next >"},
    {ResBackLabel, 0, "Back button after page 1", "< &Back"},
    {ResFinishLabel, 11, "Next button on the last page", "&Finish"},
    {ResBrowseLabel, 5, "Browse button", "B&rowse..."},
    {ResIntroCaption, 1, "window title", "Welcome"},
    {ResIntroBody, 1, "text box",
     "Welcome to {title}.\r\n\r\nThis wizard brings the installed program up to date. Please close the program "
     "before you go on.\r\n\r\nPress Next to continue, or Cancel to leave without changing anything."},
    {ResInfoCaption, 2, "window title", "Information"},
    {ResInfoBody, 2, "text box",
     "{title} changes the files of the installed program.\r\n\r\nNothing is changed until every file has been "
     "checked and found to be the expected version."},
    {ResAgreementCaption, 3, "window title", "Licence agreement"},
    {ResAgreementBody, 3, "text box",
     "Please read the licence agreement of the program that {title} updates. You may install this update only "
     "if you accept that agreement.\r\n\r\nThe update is provided as is, without warranty of any kind."},
    {ResAgreeLabel, 3, "agree choice", "I &accept the agreement"},
    {ResDisagreeLabel, 3, "do-not-agree choice", "I do &not accept the agreement"},
    {ResOptionsCaption, 4, "window title", "Options"},
    {ResOptionsFrame, 4, "frame title", "Update options"},
    {ResBackupLabel, 4, "backup box", "&Back up the files that are changed"},
    {ResSkipDifferingLabel, 4, "skip-differing box", "Skip files that &differ from the expected version"},
    {ResSkipMissingLabel, 4, "skip-missing box", "Skip &missing files"},
    {ResShowReportLabel, 4, "show-report box", "Show the &report when the update is done"},
    {ResFolderFrame, 5, "frame title; title of the folder browser", "Installation folder"},
    {ResFolderNotice, 5, "notice",
     "{title} updates the program installed in the folder below. To update another copy, type its folder or "
     "press Browse."},
    {ResFolderNote, 5, "lower note", "Press Next to check the installed files."},
    {ResFolderCaption, 5, "window title", "Choose the folder"},
    {ResCheckNotice, 6, "notice while checking", "Checking the installed files..."},
    {ResCheckNote, 6, "lower note while checking", "Please wait. Nothing has been changed yet."},
    {ResCheckCaption, 6, "window title", "Checking"},
    {ResCheckFrame, 6, "frame title", "Installed files"},
    {ResWorkCaption, 7, "window title", "Updating"},
    {ResWorkFrame, 7, "frame title", "Progress"},
    {ResWorkNotice, 7, "notice while updating", "Updating the installed files..."},
    {ResWorkNote, 7, "lower note while updating", "Please wait, and do not switch off the computer."},
    {ResReportCaption, 8, "window title", "Report"},
    {ResClosingCaption, 9, "window title", "Finished"},
    {ResClosingBody, 9, "text box", "{title} is complete.\r\n\r\nPress Next to finish."},
    {ResAuthorNameLabel, 10, "name caption", "Name:"},
    {ResAuthorMailLabel, 10, "e-mail caption", "E-mail:"},
    {ResAuthorWebLabel, 10, "web caption", "Web:"},
    {ResAuthorName, 10, "name text (the author)", nullptr},
    {ResAuthorMail, 10, "mail link text", nullptr},
    {ResAuthorWeb, 10, "web link text and address", nullptr},
    {ResAuthorNotice, 10, "notice", "This update was prepared by:"},
    {ResAuthorFrame, 10, "frame title", "Author"},
    {ResAuthorMailTarget, 10, "address handed to the mail program (mailto:...)", nullptr},
    {ResAuthorCaption, 10, "window title", "About this update"},
    {ResMakerCaption, 11, "window title", "Made with Zuli"},
    {ResMakerNotice, 11, "notice", "This patch was made with the Zuli patch runtime."},
    {ResMakerName, 11, "name text", "Zuli"},
    {ResMakerMail, 11, "mail link text", "zuli@zuli.example"},
    {ResMakerWeb, 11, "web link text and address", "http://zuli.example/"},
    {ResMakerMailTarget, 11, "address handed to the mail program", "mailto:zuli@zuli.example"},
    {ResMakerFrame, 11, "frame title", "Patch maker"},
    {ResMakerNameLabel, 11, "name caption", "Name:"},
    {ResMakerMailLabel, 11, "e-mail caption", "E-mail:"},
    {ResMakerWebLabel, 11, "web caption", "Web:"},
    {ResErrRequiredMissing, 6, "check error box: first line when a required file is missing",
     "This file is needed and cannot be skipped, because it is missing:"},
    {ResErrRequiredDiffers, 6, "check error box: first line when a required file differs",
     "This file is needed and cannot be skipped, because it is not the expected version:"},
    {ResErrMissingPrefix, 6, "check error box: before the path of a missing file", "Missing file: "},
    {ResErrDiffersPrefix, 6, "check error box: before the path of a differing file",
     "Not the version this update was made for: "},
    {ResErrRegistryFolder, 6, "check error box: the folder named in the registry was not found",
     "The program's folder named in the registry was not found. Is the program installed?"},
    {ResErrChooseAgain, 6, "check error box: last line",
     "If this is not the folder of the program to update, press OK and choose the right folder.\r\nIf it is, the "
     "program's files were changed or damaged after it was installed: press Cancel, repair or reinstall the "
     "program, then run this update again.{support}"},
    {ResReportNameRun, 8, "report: run file", "Run file"},
    {ResReportNameAdd, 8, "report: add file", "Add file"},
    {ResReportNameUpdate, 8, "report: update file", "Update file"},
    {ResReportNameReplaceBytes, 8, "report: replace bytes", "Replace bytes"},
    {ResReportNameDelete, 8, "report: delete file", "Delete file"},
    {ResReportNameIniKeys, 8, "report: update INI file", "Update INI file"},
    {ResReportNameRename, 8, "report: rename file", "Rename file"},
    {ResReportNameCheckOnly, 8, "report: update document (action 7 makes no report line)", "Update document"},
    {ResReportNameRegistry, 8, "report: registry", "Update registry"},
    {ResResultSuccess, 8, "report: result word for success", "done"},
    {ResResultFailure, 8, "report: result word for failure", "FAILED"},
    {ResResultSkipped, 8, "report: result word for a skipped entry", "skipped"},
    {ResResultRolledBack, 8, "report: result word for an entry whose change was undone (Transaction=1)",
     "rolled back"},
    {ResResultAtRestart, 8, "report: result word for an entry replaced at the restart (Transaction=1)", "at restart"},
    {ResTransactionUndone, 8, "report: last paragraph after a roll-back (Transaction=1)",
     "Nothing was changed: every change the update made was undone."},
    {ResCheckDoneNotice, 6, "notice after a successful check", "All files are as expected. Press Next to start the update."},
    {ResWorkDoneNotice, 7, "notice after updating", "The update is complete."},
    {ResWorkDoneNote, 0, "lower note on pages 6 and 7 after the work", "Press Next to continue."},
    {ResRestartText, 0, "restart question", "The update finishes when the computer restarts. Restart now?"},
    {ResRestartCaption, 0, "caption of the restart question", "Restart"},
    {ResCheckErrorCaption, 6, "caption of the check error box", "Check failed"},
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

namespace {

void ReplaceAll(std::string& text, const std::string& placeholder, const std::string& by) {
    for (std::size_t at = text.find(placeholder); at != std::string::npos; at = text.find(placeholder, at + by.size()))
        text.replace(at, placeholder.size(), by);
}

}  // namespace

std::string SupportSentence(const std::string& support) {
    return support.empty() ? std::string() : "\r\nIf you need help, contact " + support + ".";
}

std::string ExpandDefaultText(const DefaultText& text, const std::string& title, const std::string& support) {
    if (!text.text) return std::string();
    std::string expanded = text.text;
    ReplaceAll(expanded, "{title}", title);
    ReplaceAll(expanded, "{support}", SupportSentence(support));
    return expanded;
}
