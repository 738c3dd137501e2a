# Windows-side test programs all land in one folder, so that a test finds the
# small child programs it starts beside its own executable.
set(ZULI_WINTEST_DIR ${CMAKE_BINARY_DIR}/wintests)
zuli_wine_path(ZULI_WINTEST_DIR_WINE ${ZULI_WINTEST_DIR})
zuli_wine_path(ZULI_SOURCE_DIR_WINE ${CMAKE_SOURCE_DIR})
zuli_wine_path(ZULI_DIST_DIR_WINE "${ZULI_DIST_DIR}")
zuli_wine_path(ZULI_BINARY_DIR_WINE ${CMAKE_BINARY_DIR})

# A console helper program that tests start (records its command line, ...).
function(zuli_test_child name)
  add_executable(${name} ${ARGN})
  target_link_libraries(${name} PRIVATE zuli_test_support)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${ZULI_WINTEST_DIR})
  zuli_warnings(${name})
endfunction()

# One GoogleTest program per test file, run by CTest under Wine.
#   zuli_win_test(NAME name SOURCES ... [LIBS ...] [LABELS ...] [TIMEOUT s] [RUN_SERIAL]
#                 [LAUNCHER command ...])
# LAUNCHER: a command put in front of the usual Wine run of the program, for
# tests that need the process set up from outside (limits, environment).
function(zuli_win_test)
  cmake_parse_arguments(T "RUN_SERIAL" "NAME;TIMEOUT;PREFIX" "SOURCES;LIBS;LABELS;DEPENDS;LAUNCHER" ${ARGN})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  if(NOT T_PREFIX)
    set(T_PREFIX win)
  endif()
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE zuli_runtime zuli_test_support ${T_LIBS} GTest::gtest_main)
  target_compile_definitions(${T_NAME} PRIVATE
    ZULI_SOURCE_DIR_WINE="${ZULI_SOURCE_DIR_WINE}"
    ZULI_DIST_DIR_WINE="${ZULI_DIST_DIR_WINE}"
    ZULI_BINARY_DIR_WINE="${ZULI_BINARY_DIR_WINE}")
  set_target_properties(${T_NAME} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${ZULI_WINTEST_DIR})
  zuli_warnings(${T_NAME})
  if(T_DEPENDS)
    add_dependencies(${T_NAME} ${T_DEPENDS})
  endif()
  if(T_LAUNCHER)
    add_test(NAME ${T_PREFIX}.${T_NAME}
             COMMAND ${T_LAUNCHER} ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:${T_NAME}> --gtest_color=no)
  else()
    add_test(NAME ${T_PREFIX}.${T_NAME} COMMAND ${T_NAME} --gtest_color=no)
  endif()
  set_tests_properties(${T_PREFIX}.${T_NAME} PROPERTIES FIXTURES_REQUIRED wine TIMEOUT ${T_TIMEOUT}
                       LABELS "${T_PREFIX};${T_LABELS}")
  if(T_RUN_SERIAL)
    set_tests_properties(${T_PREFIX}.${T_NAME} PROPERTIES RUN_SERIAL TRUE)
  endif()
endfunction()
