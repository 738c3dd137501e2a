#include "project/ResourceTable.h"

#include "core/ResourceIds.h"

namespace {

constexpr ResourceForm T = ResourceForm::Text;

const ResourceInfo kTable[] = {
    {ResPatchTitle, T, true, "patch title"},
    {ResPageTable, ResourceForm::Bytes, true, "page table"},
    {ResOptionDefaults, ResourceForm::Bytes, true, "option defaults"},
    {ResTransactionSetting, ResourceForm::Bytes, false, "transaction setting"},
    {ResBackupCompanion, ResourceForm::Bytes, false, "backup companion mark"},
    {ResCreditSeal, ResourceForm::Seal, true, "credit seal"},
    {ResStartGate, ResourceForm::Bytes, true, "start gate"},
    {ResUnusedWord, ResourceForm::Bytes, false, "unused word"},
    {ResUnusedOkLabel, T, false, "OK label (unused)"},
    {ResCancelLabel, T, true, "Cancel label"},
    {ResNextLabel, T, true, "Next label"},
    {ResBackLabel, T, true, "Back label"},
    {ResFinishLabel, T, true, "Finish label"},
    {ResBrowseLabel, T, true, "Browse label"},
    {ResIntroCaption, T, true, "introduction caption"},
    {ResIntroBody, T, true, "introduction text"},
    {ResInfoCaption, T, true, "information caption"},
    {ResInfoBody, T, true, "information text"},
    {ResAgreementCaption, T, true, "agreement caption"},
    {ResAgreementBody, T, true, "agreement text"},
    {ResAgreeLabel, T, true, "agree label"},
    {ResDisagreeLabel, T, true, "do-not-agree label"},
    {ResOptionsCaption, T, true, "options caption"},
    {ResOptionsFrame, T, true, "options frame title"},
    {ResBackupLabel, T, true, "backup box label"},
    {ResSkipDifferingLabel, T, true, "skip-differing box label"},
    {ResSkipMissingLabel, T, true, "skip-missing box label"},
    {ResShowReportLabel, T, true, "show-report box label"},
    {ResFolderFrame, T, true, "folder frame title and browser title"},
    {ResFolderNotice, T, true, "folder page notice"},
    {ResFolderNote, T, true, "folder page note"},
    {ResFolderCaption, T, true, "folder page caption"},
    {ResCheckNotice, T, true, "verification notice"},
    {ResCheckNote, T, true, "verification note"},
    {ResCheckCaption, T, true, "verification caption"},
    {ResCheckFrame, T, true, "verification frame title"},
    {ResWorkCaption, T, true, "processing caption"},
    {ResWorkFrame, T, true, "processing frame title"},
    {ResWorkNotice, T, true, "processing notice"},
    {ResWorkNote, T, true, "processing note"},
    {ResReportCaption, T, true, "report caption"},
    {ResClosingCaption, T, true, "closing caption"},
    {ResClosingBody, T, true, "closing text"},
    {ResAuthorNameLabel, T, true, "author name label"},
    {ResAuthorMailLabel, T, true, "author e-mail label"},
    {ResAuthorWebLabel, T, true, "author web label"},
    {ResAuthorName, T, true, "author name"},
    {ResAuthorMail, T, true, "author e-mail text"},
    {ResAuthorWeb, T, true, "author web page"},
    {ResAuthorNotice, T, true, "author page notice"},
    {ResAuthorFrame, T, true, "author frame title"},
    {ResAuthorMailTarget, T, true, "author mail target"},
    {ResAuthorCaption, T, true, "author page caption"},
    {ResMakerCaption, T, true, "maker credits caption"},
    {ResMakerNotice, T, true, "maker credits notice"},
    {ResMakerName, T, true, "maker name"},
    {ResMakerMail, T, true, "maker e-mail text"},
    {ResMakerWeb, T, true, "maker web page"},
    {ResMakerMailTarget, T, true, "maker mail target"},
    {ResMakerFrame, T, true, "maker frame title"},
    {ResMakerNameLabel, T, true, "maker name label"},
    {ResMakerMailLabel, T, true, "maker e-mail label"},
    {ResMakerWebLabel, T, true, "maker web label"},
    {ResBusyCursorName, T, false, "busy cursor file name"},
    {ResLinkCursorName, T, false, "link cursor file name"},
    {ResFontFace, T, true, "font face"},
    {ResFontPointSize, ResourceForm::Number, true, "font point size"},
    {ResErrRequiredMissing, T, true, "error: required file missing"},
    {ResErrRequiredDiffers, T, true, "error: required file differs"},
    {ResErrMissingPrefix, T, true, "error prefix: missing file"},
    {ResErrDiffersPrefix, T, true, "error prefix: file differs"},
    {ResErrRegistryFolder, T, true, "error: registry folder not found"},
    {ResErrChooseAgain, T, true, "error suffix: choose again"},
    {ResPayloadCabinet, ResourceForm::Cabinet, true, "payload cabinet"},
    {ResReportNameRun, T, true, "report name: run file"},
    {ResReportNameAdd, T, true, "report name: add file"},
    {ResReportNameUpdate, T, true, "report name: update file"},
    {ResReportNameReplaceBytes, T, true, "report name: replace bytes"},
    {ResReportNameDelete, T, true, "report name: delete file"},
    {ResReportNameIniKeys, T, true, "report name: update INI file"},
    {ResReportNameRename, T, true, "report name: rename file"},
    {ResReportNameCheckOnly, T, true, "report name: update document"},
    {ResReportNameRegistry, T, true, "report name: update registry"},
    {ResResultSuccess, T, true, "result word: success"},
    {ResResultFailure, T, true, "result word: failure"},
    {ResResultSkipped, T, true, "result word: skipped"},
    {ResResultRolledBack, T, true, "result word: rolled back"},
    {ResResultAtRestart, T, true, "result word: replaced at the restart"},
    {ResTransactionUndone, T, true, "report paragraph after a roll-back"},
    {ResCheckDoneNotice, T, true, "check done notice"},
    {ResWorkDoneNotice, T, true, "patching done notice"},
    {ResWorkDoneNote, T, true, "press Next note"},
    {ResRestartText, T, true, "restart question"},
    {ResRestartCaption, T, true, "restart caption"},
    {ResCheckErrorCaption, T, true, "verification error caption"},
};

}  // namespace

const ResourceInfo* FindResourceInfo(unsigned id) {
    for (const ResourceInfo& info : kTable)
        if (info.id == id) return &info;
    return nullptr;
}

const ResourceInfo* AllResourceInfo(unsigned& count) {
    count = sizeof kTable / sizeof kTable[0];
    return kTable;
}
