# The builder's platform-neutral parts (tools/builder/*/neutral): plain C++
# with no Windows API, built for every target, so that the native tests,
# fuzzers and benchmarks use the very same code as zulibuild.
set(ZULI_BUILDER_DIR ${CMAKE_CURRENT_LIST_DIR})

# The binary delta encoder, a library of its own with the suffix sorter it
# needs. Its users outside the builder include "BinaryDeltaEncoder.h".
add_library(zuli_delta_encoder STATIC ${ZULI_BUILDER_DIR}/diff/neutral/BinaryDeltaEncoder.cpp)
target_include_directories(zuli_delta_encoder PUBLIC ${ZULI_BUILDER_DIR}/diff/neutral ${ZULI_BUILDER_DIR})
target_link_libraries(zuli_delta_encoder PUBLIC zuli_neutral divsufsort)
zuli_warnings(zuli_delta_encoder)

# Everything else neutral: the INI line lexer, the registry-line check and
# what it reads numbers with.
file(GLOB ZULI_BUILDER_NEUTRAL_SOURCES CONFIGURE_DEPENDS ${ZULI_BUILDER_DIR}/*/neutral/*.cpp)
list(FILTER ZULI_BUILDER_NEUTRAL_SOURCES EXCLUDE REGEX "/BinaryDeltaEncoder\\.cpp$")
add_library(zuli_builder_neutral STATIC ${ZULI_BUILDER_NEUTRAL_SOURCES})
target_include_directories(zuli_builder_neutral PUBLIC ${ZULI_BUILDER_DIR})
target_link_libraries(zuli_builder_neutral PUBLIC zuli_neutral)
zuli_warnings(zuli_builder_neutral)
