# Puts SOURCE into the folder DESTINATION unless a copy is already there: the
# copy beside the program holds the words a player has added, which a rebuild
# must not throw away. Delete it to start again from the shipped dictionary.
get_filename_component(name "${SOURCE}" NAME)
if(EXISTS "${DESTINATION}/${name}")
  return()
endif()
if(EXISTS "${SOURCE}")
  file(COPY "${SOURCE}" DESTINATION "${DESTINATION}")
else()
  message(WARNING "${SOURCE} not found: the program needs it beside Vrel.exe")
endif()
