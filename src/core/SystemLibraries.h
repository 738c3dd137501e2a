// Libraries from the system folder only. A patch is typically started from
// a downloads folder, where anyone's files end up: a library of a familiar
// name planted there must never be loaded in its place.
#pragma once

// From now on, libraries loaded by name come from the system folder alone,
// where the platform can be told so (SetDefaultDllDirectories, looked up at
// run time so that older systems still start).
void RestrictLibrarySearch();
// Loads the common controls (the wizard's progress bar class) by full path
// from the system folder: the library is not among those Windows always
// takes from there.
void InitCommonControlsFromSystem();
