# The language editions, read from resources/editions/list (one line each:
# code, Windows language id, name in English / own name; the default edition
# first).
#
#   vrel_read_editions(<list-file>)
#
# sets VREL_EDITION_CODES (every code, in the list's order),
# VREL_DEFAULT_EDITION (the first: its program is Vrel in bin/),
# VREL_EDITIONS (the others) and, for each code, VREL_EDITION_<code>_LANGID,
# VREL_EDITION_<code>_NAME and VREL_EDITION_<code>_OWN_NAME in the caller's
# scope. A change of the list makes CMake run again.
include_guard(GLOBAL)

function(vrel_read_editions list_file)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${list_file})
  file(STRINGS ${list_file} lines ENCODING UTF-8 REGEX "^[^#]")
  set(codes)
  foreach(line IN LISTS lines)
    if(NOT line MATCHES "^([a-z][a-z]) +(0x[0-9A-Fa-f]+) +(.+) / (.+)$")
      message(FATAL_ERROR "${list_file}: cannot read the line \"${line}\"")
    endif()
    set(code ${CMAKE_MATCH_1})
    list(APPEND codes ${code})
    set(VREL_EDITION_${code}_LANGID ${CMAKE_MATCH_2} PARENT_SCOPE)
    set(VREL_EDITION_${code}_NAME "${CMAKE_MATCH_3}" PARENT_SCOPE)
    set(VREL_EDITION_${code}_OWN_NAME "${CMAKE_MATCH_4}" PARENT_SCOPE)
  endforeach()
  if(NOT codes)
    message(FATAL_ERROR "${list_file}: no edition")
  endif()
  list(GET codes 0 first)
  set(others ${codes})
  list(REMOVE_AT others 0)
  set(VREL_EDITION_CODES ${codes} PARENT_SCOPE)
  set(VREL_DEFAULT_EDITION ${first} PARENT_SCOPE)
  set(VREL_EDITIONS ${others} PARENT_SCOPE)
endfunction()
