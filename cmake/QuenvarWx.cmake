# wx::base (no display needed) and wx::gui (core, adv, richtext) as imported
# interface targets; this CMake's FindwxWidgets has no targets of its own.
function(quenvar_wx_target name)
  find_package(wxWidgets 3.2 REQUIRED COMPONENTS ${ARGN})
  add_library(${name} INTERFACE IMPORTED GLOBAL)
  set(defs ${wxWidgets_DEFINITIONS})
  if(CMAKE_BUILD_TYPE STREQUAL "Debug")
    list(APPEND defs ${wxWidgets_DEFINITIONS_DEBUG})
  endif()
  set_target_properties(${name} PROPERTIES
    INTERFACE_INCLUDE_DIRECTORIES "${wxWidgets_INCLUDE_DIRS}"
    INTERFACE_SYSTEM_INCLUDE_DIRECTORIES "${wxWidgets_INCLUDE_DIRS}"
    INTERFACE_COMPILE_DEFINITIONS "${defs}"
    INTERFACE_COMPILE_OPTIONS "${wxWidgets_CXX_FLAGS}"
    INTERFACE_LINK_LIBRARIES "${wxWidgets_LIBRARIES}")
endfunction()

quenvar_wx_target(wx::base base)
quenvar_wx_target(wx::gui richtext adv core base)
