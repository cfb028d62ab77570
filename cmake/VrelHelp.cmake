# vrel_add_help(<target> SOURCE <file> DESTINATION <dir> [HLP_NAME <name>])
#
# Compiles one help source into the Windows Help file <dir>/<name> (Vrel.HLP
# unless named) and its plain-text rendering <dir>/HELP.txt, as part of the
# new target <target>, which the default build builds. Call it once per help
# source, e.g. for an edition:
#
#   vrel_add_help(help_de SOURCE ${PROJECT_SOURCE_DIR}/resources/help/de.txt
#                 DESTINATION ${CMAKE_BINARY_DIR}/editions/de)
#
# The compiler runs on the machine that builds: a cross build compiles a host
# copy of tools/helpc of its own, with the host's compiler.
include_guard(GLOBAL)

function(vrel_help_compiler out_command out_depends)
  if(NOT CMAKE_CROSSCOMPILING)
    set(${out_command} $<TARGET_FILE:vrel-helpc> PARENT_SCOPE)
    set(${out_depends} vrel-helpc PARENT_SCOPE)
    return()
  endif()
  set(host_dir ${CMAKE_BINARY_DIR}/host-helpc)
  if(NOT TARGET vrel_host_helpc)
    include(ExternalProject)
    ExternalProject_Add(vrel_host_helpc
      SOURCE_DIR ${PROJECT_SOURCE_DIR}/tools/helpc
      BINARY_DIR ${host_dir}
      CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release
      INSTALL_COMMAND ""
      BUILD_ALWAYS ON
      BUILD_BYPRODUCTS ${host_dir}/bin/vrel-helpc
    )
  endif()
  set(${out_command} ${host_dir}/bin/vrel-helpc PARENT_SCOPE)
  set(${out_depends} vrel_host_helpc ${host_dir}/bin/vrel-helpc PARENT_SCOPE)
endfunction()

function(vrel_add_help target)
  cmake_parse_arguments(PARSE_ARGV 1 HELP "" "SOURCE;DESTINATION;HLP_NAME" "")
  if(NOT HELP_SOURCE OR NOT HELP_DESTINATION)
    message(FATAL_ERROR "vrel_add_help(${target}) needs SOURCE and DESTINATION")
  endif()
  if(NOT HELP_HLP_NAME)
    set(HELP_HLP_NAME Vrel.HLP)
  endif()
  vrel_help_compiler(compiler compiler_depends)
  set(hlp ${HELP_DESTINATION}/${HELP_HLP_NAME})
  set(text ${HELP_DESTINATION}/HELP.txt)
  add_custom_command(OUTPUT ${hlp} ${text}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${HELP_DESTINATION}
    COMMAND ${compiler} ${HELP_SOURCE} --hlp ${hlp} --text ${text}
    DEPENDS ${HELP_SOURCE} ${compiler_depends}
    COMMENT "Compiling the help source ${HELP_SOURCE}"
    VERBATIM
  )
  add_custom_target(${target} ALL DEPENDS ${hlp} ${text})
endfunction()
