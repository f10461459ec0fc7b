# Removes every file an install wrote, as listed in its manifest, then the folders that belong to
# the game alone once they are empty. Shared folders (bin, share/icons/...) stay.
# Usage: cmake -DMANIFEST=build/install_manifest.txt -P dist/uninstall.cmake
if(NOT MANIFEST OR NOT EXISTS "${MANIFEST}")
  message(FATAL_ERROR "bramblehoof: nothing to uninstall: no install manifest at '${MANIFEST}' (run make install first)")
endif()

file(STRINGS "${MANIFEST}" installed)
set(folders "")
foreach(path IN LISTS installed)
  if(EXISTS "${path}" OR IS_SYMLINK "${path}")
    file(REMOVE "${path}")
    message(STATUS "Removed ${path}")
  endif()
  get_filename_component(folder "${path}" DIRECTORY)
  list(APPEND folders "${folder}")
endforeach()

# Deepest first, so a folder emptied of its sub-folders goes too.
list(REMOVE_DUPLICATES folders)
list(SORT folders ORDER DESCENDING)
foreach(folder IN LISTS folders)
  while(folder MATCHES "/bramblehoof(/|$)")
    file(GLOB left "${folder}/*" "${folder}/.*")
    if(left OR NOT IS_DIRECTORY "${folder}")
      break()
    endif()
    file(REMOVE_RECURSE "${folder}")
    message(STATUS "Removed ${folder}/")
    get_filename_component(folder "${folder}" DIRECTORY)
  endwhile()
endforeach()
