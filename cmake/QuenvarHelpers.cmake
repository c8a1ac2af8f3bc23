# Warnings for our own code only; toolkit headers come in as SYSTEM includes.
function(quenvar_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
endfunction()

# One library target per subsystem. While a subsystem has no sources yet it is
# an interface target, so that everything can already link it by name.
#   quenvar_subsystem(name SOURCES ... LIBS ...)
function(quenvar_subsystem name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  if(ARG_SOURCES)
    add_library(${name} STATIC ${ARG_SOURCES})
    target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${ARG_LIBS})
    quenvar_warnings(${name})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${CMAKE_CURRENT_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${ARG_LIBS})
  endif()
endfunction()
