# Fails when the Qt-free core is not Qt-free: run as
#   cmake -DSOURCES=<files> -DFOLDERS=<folders> -DLINKS=<libraries> -P qt_free_guard.cmake
# SOURCES are the core library's files, FOLDERS the folders that hold only core files (every file
# there is checked, so a new file is caught before anyone adds it to a target), LINKS what the
# library links. A core file may include neither a Qt header nor a header of a Qt layer.
string(REPLACE "|" ";" files "${SOURCES}")
string(REPLACE "|" ";" FOLDERS "${FOLDERS}")
string(REPLACE "|" ";" LINKS "${LINKS}")
foreach(folder IN LISTS FOLDERS)
  file(GLOB folder_files ${folder}/*.h ${folder}/*.cpp)
  list(APPEND files ${folder_files})
endforeach()
list(REMOVE_DUPLICATES files)

set(qt_header "#[ \t]*include[ \t]*[<\"](Qt[A-Za-z]*/|Q[A-Za-z]+>|q[a-z]+\\.h>)")
set(qt_layer "#[ \t]*include[ \t]*\"(dialogs|palette|pageeditor|cart|cli)/")
set(faults "")
foreach(file IN LISTS files)
  file(STRINGS ${file} hits REGEX "${qt_header}|${qt_layer}")
  foreach(hit IN LISTS hits)
    string(STRIP "${hit}" hit)
    string(APPEND faults "\n  ${file}: ${hit}")
  endforeach()
endforeach()

foreach(library IN LISTS LINKS)
  if(library MATCHES "Qt")
    string(APPEND faults "\n  vendigo_core links ${library}")
  endif()
endforeach()

list(LENGTH files count)
if(faults)
  message(FATAL_ERROR "The Qt-free core uses Qt or a Qt layer:${faults}")
endif()
message(STATUS "The Qt-free core is Qt-free: ${count} files checked")
