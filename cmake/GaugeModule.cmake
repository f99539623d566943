# add_gauge_module(NAME SOURCES ... [LIBS ...])
#
# Builds build/modules/NAME.so: a gauge module with hidden visibility (only
# Linkage and ImportTable are exported), the frame linked in, the platform
# stand-ins linked by symbol name, and the module's resources (bitmaps and
# SOUND data made by rescomp from resources/NAME.res) embedded in the ELF
# section .gauge_resources, where the host and the sound library find them.
function(add_gauge_module name)
  cmake_parse_arguments(M "" "MANIFEST" "SOURCES;LIBS" ${ARGN})
  if(NOT M_MANIFEST)
    set(M_MANIFEST ${PROJECT_SOURCE_DIR}/resources/${name}.res)
  endif()
  set(bin ${CMAKE_CURRENT_BINARY_DIR}/${name}_resources.bin)
  set(asm ${CMAKE_CURRENT_BINARY_DIR}/${name}_resources.S)
  add_custom_command(
    OUTPUT ${bin}
    # The build tool's font caches are not ours to leak-check under ASan.
    COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0 $<TARGET_FILE:rescomp> ${M_MANIFEST} ${bin}
    DEPENDS rescomp ${M_MANIFEST}
    COMMENT "Building resources of ${name}")
  file(WRITE ${asm}
    "  .section .gauge_resources,\"a\",@progbits\n"
    "  .balign 16\n"
    "  .incbin \"${bin}\"\n"
    "  .section .note.GNU-stack,\"\",@progbits\n")
  set_source_files_properties(${asm} PROPERTIES OBJECT_DEPENDS ${bin})
  add_library(${name} MODULE ${M_SOURCES} ${asm})
  set_target_properties(${name} PROPERTIES
    PREFIX ""
    LIBRARY_OUTPUT_DIRECTORY ${GAUGE_MODULE_DIR}
    CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON
    BUILD_RPATH "\$ORIGIN/../lib")
  target_link_libraries(${name} PRIVATE gauge_frame gauge_frame_sound fssound soarrec platform_os ${M_LIBS})
  # -fno-gnu-unique: a dlclose really unloads, so a reload starts from load state
  # (clang makes no unique symbols, and knows no such option).
  target_compile_options(${name} PRIVATE $<$<CXX_COMPILER_ID:GNU>:-fno-gnu-unique>)
  # Under clang's sanitizers the runtime lives in the executable that loads
  # the module, so its symbols stay undefined here.
  if(NOT GAUGE_FUZZ)
    target_link_options(${name} PRIVATE -Wl,--no-undefined)
  endif()
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
endfunction()
