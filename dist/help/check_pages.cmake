# Stops the build when a page the help project names (in its table of
# contents, its keyword index or its file list) is not in the manual's folder.
#   cmake -DPROJECT_FILE=<.qhp> -P check_pages.cmake
get_filename_component(folder "${PROJECT_FILE}" DIRECTORY)
file(READ "${PROJECT_FILE}" text)
string(REGEX MATCHALL "ref=\"[^\"]*\"" refs "${text}")
string(REGEX MATCHALL "<file>[^<]*</file>" files "${text}")
set(missing)
foreach(item IN LISTS refs files)
  string(REGEX REPLACE "^ref=\"([^\"#]*).*$" "\\1" name "${item}")
  string(REGEX REPLACE "^<file>(.*)</file>$" "\\1" name "${name}")
  # A pattern ("*.png") may match nothing.
  if(name MATCHES "[*?]")
    continue()
  endif()
  if(NOT EXISTS "${folder}/${name}")
    list(APPEND missing "${name}")
  endif()
endforeach()
if(missing)
  list(REMOVE_DUPLICATES missing)
  list(JOIN missing ", " names)
  message(FATAL_ERROR "The manual names pages that are not in ${folder}: ${names}")
endif()
