// The one global record of run-time state. Every field starts at zero (0,
// none, empty); start-up and the wizard fill them as they go.
#pragma once
#include <windows.h>

#include <cstdint>

#include "core/neutral/HeapText.h"
#include "core/ProfileReader.h"
#include "core/RegistryAccessor.h"

// Path buffers hold the platform's 260 characters plus the terminator.
constexpr unsigned kPathBufferSize = MAX_PATH + 1;
constexpr int kPageCount = 14;  // pages 0..13; 13 is the folder question
constexpr int kFolderQuestionPage = 13;

// ResumeCode while the folder question waits, and after Next or Back.
constexpr uint32_t kResumeRunning = 0;
constexpr uint32_t kResumeNext = 1;
constexpr uint32_t kResumeBack = 2000;

struct RunStateRecord {
    // Navigation and options
    HINSTANCE Instance;
    uint32_t IsNT;
    HWND DialogWindow;
    int32_t CurrentPage;
    unsigned char PageTable[kPageCount];
    unsigned char OptionDefaults[3];
    uint32_t BackupOption;
    uint32_t SkipDifferingOption;
    uint32_t SkipMissingOption;
    uint32_t ShowReportOption;
    uint32_t BrowseTitleId;
    uint32_t ResumeCode;  // 0 running, 1 Next, 2000 Back
    uint32_t CreditsSeen;
    uint32_t RebootPending;
    uint32_t TransactionOn;  // the patch runs its processing pass as one transaction

    // Script and results
    ProfileReader ScriptReader;
    RegistryAccessor Registry;
    uint32_t EntryCount;
    char** EntryPaths;  // EntryCount + 1 slots, slot 0 unused
    HeapText ReportText;
    HeapText ErrorText;
    uint32_t LastFileSize;

    // Path buffers (kPathBufferSize bytes each, allocated once by
    // BuildPathTable and kept until exit; null when absent).
    char* WorkFolder;
    char* ScriptPath;
    char* CabinetPath;
    char* SideImagePath;
    char* BrandImagePath;
    char* BusyCursorPath;
    char* LinkCursorPath;
    char* WindowsFolder;
    char* SystemFolder;
    char* CurrentFolder;
    char* PreviousFolder;
    char* StartMenuFolder;
    char* ProgramsFolder;
    char* FavoritesFolder;
    char* DocumentsFolder;
    char* TemplatesFolder;
    char* DesktopFolder;
    char* AppDataFolder;

    // Interface objects
    HBRUSH EditBackgroundBrush;
    HFONT NormalFont;
    HFONT LinkFont;
    HeapBytes SideImageData;
    BITMAPINFO* SideImageInfo;  // points into SideImageData
    const void* SideImageBits;  // points into SideImageData
    RECT SideImageRect;
    HWND WebLinkWindow;
    HWND ProgressBarWindow;
    HWND CursorWindow;
    HCURSOR PreviousCursor;
    HCURSOR FileCursor;  // the cursor loaded from a file and put up last, if any
};

extern RunStateRecord RunState;

// A new zero-filled path buffer of kPathBufferSize bytes.
char* NewPathBuffer();
