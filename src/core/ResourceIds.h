// Numbers of the runtime's RT_RCDATA resources. Each has one fixed role; the
// builder fills them, the runtime only reads them.
#pragma once

enum ResourceId : unsigned {
    ResPatchTitle = 1,
    ResPageTable = 10,        // 14 bytes, stored scrambled
    ResOptionDefaults = 20,   // 3 bytes: backup, skip differing, skip missing
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
    ResReportNameLast = 3008,
    ResResultSuccess = 3100,
    ResResultFailure = 3101,
    ResResultSkipped = 3102,

    ResCheckDoneNotice = 3200,
    ResWorkDoneNotice = 3201,
    ResWorkDoneNote = 3202,
    ResRestartText = 3203,
    ResRestartCaption = 3204,
    ResCheckErrorCaption = 3205,
};
