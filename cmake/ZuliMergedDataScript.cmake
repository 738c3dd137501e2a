# The linker's own script for the target, with the start-up tables (.CRT)
# and the TLS template (.tls) moved into .data: each of the three holds a few
# bytes and would otherwise take a whole block of the file. Windows finds
# both through the TLS directory and the start-up code through symbols, not
# through section names. Made from the installed linker at configure time,
# so that it always matches it.
function(zuli_merged_data_script out)
  execute_process(COMMAND ${CMAKE_LINKER} --verbose OUTPUT_VARIABLE verbose RESULT_VARIABLE failed)
  set(rule "==================================================")
  string(FIND "${verbose}" "${rule}" first)
  string(FIND "${verbose}" "${rule}" last REVERSE)
  set(crt_head "  .CRT BLOCK(__section_alignment__) :")
  set(data_head "  .data BLOCK(__section_alignment__) :\n  {\n")
  set(data_tail "    *(.data_cygwin_nocopy)\n  }")
  if(failed OR first EQUAL -1 OR first EQUAL last)
    message(FATAL_ERROR "${CMAKE_LINKER} --verbose gave no linker script")
  endif()
  string(LENGTH "${rule}" rule_length)
  math(EXPR from "${first} + ${rule_length}")
  math(EXPR length "${last} - ${from}")
  string(SUBSTRING "${verbose}" ${from} ${length} script)

  string(FIND "${script}" "${crt_head}" crt_at)
  string(FIND "${script}" "  .endjunk BLOCK" end_at)
  string(FIND "${script}" "${data_head}" data_at)
  string(FIND "${script}" "${data_tail}" tail_at)
  if(crt_at EQUAL -1 OR end_at EQUAL -1 OR data_at EQUAL -1 OR tail_at EQUAL -1)
    message(FATAL_ERROR "${CMAKE_LINKER}'s script is not laid out as expected; cannot merge .CRT and .tls")
  endif()
  math(EXPR moved_length "${end_at} - ${crt_at}")
  string(SUBSTRING "${script}" ${crt_at} ${moved_length} moved)
  # The two sections' contents, without their headers and braces.
  string(REGEX MATCH "\\.CRT BLOCK[^{]*{([^}]*)}" crt "${moved}")
  set(crt_body "${CMAKE_MATCH_1}")
  string(REGEX MATCH "\\.tls BLOCK[^{]*{([^}]*)}" tls "${moved}")
  set(tls_body "${CMAKE_MATCH_1}")
  if(crt_body STREQUAL "" OR tls_body STREQUAL "")
    message(FATAL_ERROR "${CMAKE_LINKER}'s script has no .CRT or .tls section to merge")
  endif()

  string(SUBSTRING "${script}" 0 ${crt_at} before)
  string(SUBSTRING "${script}" ${end_at} -1 after)
  set(script "${before}${after}")
  # The TLS template stays at the start of its section, as Windows expects
  # (offsets into it are taken from the section's start).
  string(REPLACE "${data_head}" "${data_head}${tls_body}\n" script "${script}")
  # Tables the script does not name (the TLS support's own) follow, as they
  # followed the named ones in their own section.
  string(REPLACE "${data_tail}"
         "    *(.data_cygwin_nocopy)\n    . = ALIGN(4);${crt_body}    KEEP (*(SORT(.CRT$*)))\n  }" script "${script}")
  # The DWARF unwind tables that library objects bring (the zlib CRC, the
  # compiler's 64-bit divisions) are left out: only the C library's start-up
  # code registered them, for exceptions the runtime never throws, and
  # Windows reads no such section. (x86_64 unwinds through .pdata/.xdata.)
  string(REGEX MATCH "  \\.eh_frame BLOCK\\(__section_alignment__\\) :\n  {\n    KEEP ?\\(\\*\\(\\.eh_frame\\*\\)\\)\n  }"
         eh_frame "${script}")
  if(eh_frame STREQUAL "")
    message(FATAL_ERROR "${CMAKE_LINKER}'s script has no .eh_frame section as expected")
  endif()
  string(REPLACE "${eh_frame}" "  /DISCARD/ :\n  {\n    *(.eh_frame*)\n  }" script "${script}")
  file(WRITE "${out}" "${script}")
endfunction()
