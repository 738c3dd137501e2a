// Numbers of the runtime's RT_RCDATA resources. Each has one fixed role; the
// builder fills them, the runtime only reads them.
#pragma once

#include <cstddef>

enum ResourceId : unsigned {
    ResPatchTitle = 1,
    ResPageTable = 10,        // 14 bytes, stored scrambled
    ResOptionDefaults = 20,   // 3 bytes: backup, skip differing, skip missing
    ResTransactionSetting = 25,  // optional, 1 byte: 1 runs the processing pass as one transaction
    ResBackupCompanion = 26,     // optional, 1 byte (1): present when the builder packed the backup companion
    ResCreditSeal = 30,       // 4 bytes, part of the credit protection
    ResStartGate = 100,
    ResUnusedWord = 111,
    ResUnusedOkLabel = 112,
    ResCancelLabel = 113,
    ResNextLabel = 114,
    ResBackLabel = 115,
    ResFinishLabel = 116,
    ResBrowseLabel = 117,

    ResIntroCaption = 200, ResIntroBody = 201,
    ResInfoCaption = 202, ResInfoBody = 203,
    ResAgreementCaption = 204, ResAgreementBody = 205,
    ResAgreeLabel = 206, ResDisagreeLabel = 207,
    ResOptionsCaption = 208, ResOptionsFrame = 209,
    ResBackupLabel = 210, ResSkipDifferingLabel = 211, ResSkipMissingLabel = 212, ResShowReportLabel = 213,
    ResFolderFrame = 214, ResFolderNotice = 215, ResFolderNote = 216, ResFolderCaption = 217,
    ResCheckNotice = 220, ResCheckNote = 221, ResCheckCaption = 223, ResCheckFrame = 224,
    ResWorkCaption = 230, ResWorkFrame = 231, ResWorkNotice = 232, ResWorkNote = 233,
    ResReportCaption = 235,
    ResClosingCaption = 240, ResClosingBody = 241,
    ResAuthorNameLabel = 242, ResAuthorMailLabel = 243, ResAuthorWebLabel = 244,
    ResAuthorName = 245, ResAuthorMail = 246, ResAuthorWeb = 247,
    ResAuthorNotice = 248, ResAuthorFrame = 249, ResAuthorMailTarget = 250, ResAuthorCaption = 251,
    ResMakerCaption = 260, ResMakerNotice = 261,
    ResMakerName = 262, ResMakerMail = 263, ResMakerWeb = 264, ResMakerMailTarget = 265,
    ResMakerFrame = 267,
    ResMakerNameLabel = 268, ResMakerMailLabel = 269, ResMakerWebLabel = 270,
    ResBusyCursorName = 271,  // optional
    ResLinkCursorName = 278,  // optional

    ResFontFace = 1000,
    ResFontPointSize = 1001,  // 16-bit little-endian

    ResErrRequiredMissing = 1200,
    ResErrRequiredDiffers = 1201,
    ResErrMissingPrefix = 1202,
    ResErrDiffersPrefix = 1203,
    ResErrRegistryFolder = 1204,
    ResErrChooseAgain = 1250,

    ResPayloadCabinet = 2000,

    ResReportNameFirst = 3000,  // 3000..3008: names of action codes 0..8
    ResReportNameRun = 3000,
    ResReportNameAdd = 3001,
    ResReportNameUpdate = 3002,
    ResReportNameReplaceBytes = 3003,
    ResReportNameDelete = 3004,
    ResReportNameIniKeys = 3005,
    ResReportNameRename = 3006,
    ResReportNameCheckOnly = 3007,  // action 7 makes no report line
    ResReportNameRegistry = 3008,
    ResReportNameLast = 3008,
    ResResultSuccess = 3100,
    ResResultFailure = 3101,
    ResResultSkipped = 3102,
    ResResultRolledBack = 3103,      // result word: the entry's change was undone
    ResResultAtRestart = 3104,       // result word: replaced at the next restart
    ResTransactionUndone = 3105,     // the report's last paragraph after a roll-back

    ResCheckDoneNotice = 3200,
    ResWorkDoneNotice = 3201,
    ResWorkDoneNote = 3202,
    ResRestartText = 3203,
    ResRestartCaption = 3204,
    ResCheckErrorCaption = 3205,
};

// Every resource above once, in ascending order: the catalogue that the
// builder's resource table and default texts are checked against. A new
// resource is added here too.
inline constexpr ResourceId kAllResourceIds[] = {
    ResPatchTitle, ResPageTable, ResOptionDefaults, ResTransactionSetting, ResBackupCompanion, ResCreditSeal,
    ResStartGate, ResUnusedWord, ResUnusedOkLabel, ResCancelLabel, ResNextLabel, ResBackLabel, ResFinishLabel,
    ResBrowseLabel,
    ResIntroCaption, ResIntroBody, ResInfoCaption, ResInfoBody, ResAgreementCaption, ResAgreementBody,
    ResAgreeLabel, ResDisagreeLabel, ResOptionsCaption, ResOptionsFrame,
    ResBackupLabel, ResSkipDifferingLabel, ResSkipMissingLabel, ResShowReportLabel,
    ResFolderFrame, ResFolderNotice, ResFolderNote, ResFolderCaption,
    ResCheckNotice, ResCheckNote, ResCheckCaption, ResCheckFrame,
    ResWorkCaption, ResWorkFrame, ResWorkNotice, ResWorkNote,
    ResReportCaption, ResClosingCaption, ResClosingBody,
    ResAuthorNameLabel, ResAuthorMailLabel, ResAuthorWebLabel, ResAuthorName, ResAuthorMail, ResAuthorWeb,
    ResAuthorNotice, ResAuthorFrame, ResAuthorMailTarget, ResAuthorCaption,
    ResMakerCaption, ResMakerNotice, ResMakerName, ResMakerMail, ResMakerWeb, ResMakerMailTarget, ResMakerFrame,
    ResMakerNameLabel, ResMakerMailLabel, ResMakerWebLabel, ResBusyCursorName, ResLinkCursorName,
    ResFontFace, ResFontPointSize,
    ResErrRequiredMissing, ResErrRequiredDiffers, ResErrMissingPrefix, ResErrDiffersPrefix, ResErrRegistryFolder,
    ResErrChooseAgain,
    ResPayloadCabinet,
    ResReportNameRun, ResReportNameAdd, ResReportNameUpdate, ResReportNameReplaceBytes, ResReportNameDelete,
    ResReportNameIniKeys, ResReportNameRename, ResReportNameCheckOnly, ResReportNameRegistry,
    ResResultSuccess, ResResultFailure, ResResultSkipped, ResResultRolledBack, ResResultAtRestart,
    ResTransactionUndone,
    ResCheckDoneNotice, ResWorkDoneNotice, ResWorkDoneNote, ResRestartText, ResRestartCaption, ResCheckErrorCaption,
};
constexpr std::size_t kResourceIdCount = sizeof kAllResourceIds / sizeof kAllResourceIds[0];

// Strictly ascending, so no id is listed twice.
constexpr bool ResourceIdsAscend() {
    for (std::size_t i = 1; i < kResourceIdCount; ++i)
        if (kAllResourceIds[i - 1] >= kAllResourceIds[i]) return false;
    return true;
}
static_assert(ResourceIdsAscend(), "kAllResourceIds lists each resource once, in ascending order");
