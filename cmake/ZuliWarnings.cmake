# One warning set for all three builds; the presets turn on -Werror so that
# "clean" stays clean.
set(ZULI_WARNINGS -Wall -Wextra -Wshadow -Wformat=2 -Wundef -Wcast-align -Wno-missing-field-initializers)
if(ZULI_WERROR)
  list(APPEND ZULI_WARNINGS -Werror)
endif()

# Applies the project's warnings to one of our own targets (never to googletest).
function(zuli_warnings target)
  target_compile_options(${target} PRIVATE ${ZULI_WARNINGS})
endfunction()
