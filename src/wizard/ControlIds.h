// Control ids of the wizard dialog (template 101).
#pragma once

constexpr int kWizardDialogId = 101;
constexpr int kWizardIconId = 105;

enum ControlId : int {
    IdNext = 1,              // Next / Finish
    IdBack = 2000,           // Back (Cancel on page 1)
    IdSideImage = 1034,
    IdTextBox = 1000,
    IdAgree = 1002,
    IdDisagree = 1003,
    IdFrame = 1013,
    IdBackupBox = 1009,
    IdSkipDifferingBox = 1010,
    IdSkipMissingBox = 1011,
    IdNotice = 1014,
    IdFolderBox = 1015,
    IdBrowse = 1016,
    IdLowerNote = 1017,
    IdProgressBar = 1024,
    IdShowReportBox = 1027,
    IdNameCaption = 1028,
    IdMailCaption = 1029,
    IdWebCaption = 1030,
    IdNameText = 1031,
    IdMailLink = 1032,
    IdWebLink = 1033,
};
