# The language editions, read from resources/editions/list (one line each:
# code, Windows language id, name; English first).
#
#   vrel_read_editions(<list-file>)
#
# sets VREL_EDITION_CODES (every code, English first), VREL_EDITIONS (the
# codes but English) and, for each code, VREL_EDITION_<code>_LANGID and
# VREL_EDITION_<code>_NAME in the caller's scope. A change of the list makes
# CMake run again.
include_guard(GLOBAL)

function(vrel_read_editions list_file)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${list_file})
  file(STRINGS ${list_file} lines REGEX "^[^#]")
  set(codes)
  foreach(line IN LISTS lines)
    if(NOT line MATCHES "^([a-z][a-z]) +(0x[0-9A-Fa-f]+) +(.+)$")
      message(FATAL_ERROR "${list_file}: cannot read the line \"${line}\"")
    endif()
    set(code ${CMAKE_MATCH_1})
    list(APPEND codes ${code})
    set(VREL_EDITION_${code}_LANGID ${CMAKE_MATCH_2} PARENT_SCOPE)
    set(VREL_EDITION_${code}_NAME "${CMAKE_MATCH_3}" PARENT_SCOPE)
  endforeach()
  list(GET codes 0 first)
  if(NOT first STREQUAL "en")
    message(FATAL_ERROR "${list_file}: English (en) must come first")
  endif()
  set(others ${codes})
  list(REMOVE_AT others 0)
  set(VREL_EDITION_CODES ${codes} PARENT_SCOPE)
  set(VREL_EDITIONS ${others} PARENT_SCOPE)
endfunction()
