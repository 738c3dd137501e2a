# Windows (MinGW-w64) settings shared by the i686 and x86_64 builds.
# ANSI API throughout: texts are bytes in the system code page.
add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0501 WINVER=0x0501 _WIN32_IE=0x0600)

# Static: the runtime must need no DLL beside the system's own.
add_link_options(-static -static-libgcc -static-libstdc++)

# Older Windows loaders refuse a PE whose subsystem version is above 4.0.
set(ZULI_OLD_LOADER_LINK -Wl,--major-subsystem-version,4 -Wl,--minor-subsystem-version,0
                         -Wl,--major-os-version,4 -Wl,--minor-os-version,0)

# The runtime itself is small: no exceptions, no RTTI, unused sections dropped.
set(ZULI_SMALL_COMPILE -Os -fno-exceptions -fno-rtti -ffunction-sections -fdata-sections)
# The 32-bit runtime needs no unwind tables: nothing in it throws, and x86
# structured exception handling walks frames, not tables. They were an
# eighth of the shipped file. (x86_64 keeps them: its exception dispatch
# reads them.)
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  list(APPEND ZULI_SMALL_COMPILE -fno-asynchronous-unwind-tables -fno-unwind-tables)
endif()
set(ZULI_SMALL_LINK -Wl,--gc-sections -s)

set(ZULI_SYSTEM_LIBS comctl32 comdlg32 shell32 shlwapi advapi32 gdi32 user32 kernel32)

# Tests run the x86_64 build under Wine, in a prefix of the build folder.
set(ZULI_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/tests/wine/run.sh ${ZULI_WINEPREFIX})

# A Linux path as Wine sees it (the Z: drive maps the root file system).
function(zuli_wine_path out linux_path)
  set(${out} "Z:${linux_path}" PARENT_SCOPE)
endfunction()
