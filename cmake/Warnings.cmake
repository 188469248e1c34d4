# dsp4620_warnings(target): the warning set for our own code.
function(dsp4620_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow
    -Wnon-virtual-dtor -Wold-style-cast -Wcast-align -Woverloaded-virtual
    -Wconversion -Wsign-conversion -Wno-sign-conversion -Wdouble-promotion -Wformat=2
    -Wimplicit-fallthrough)
  if(DSP4620_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# dsp4620_library(name SOURCES ... DEPS ...): one static library per layer folder.
function(dsp4620_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS;PUBLIC_DEPS" ${ARGN})
  if(ARG_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "dsp4620_library(${name}): unknown arguments ${ARG_UNPARSED_ARGUMENTS}")
  endif()
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${ARG_PUBLIC_DEPS} PRIVATE ${ARG_DEPS})
  dsp4620_warnings(${name})
endfunction()
