# Fails when a program would load libraries from anywhere but known folders: run as
#   cmake -DREADELF=<readelf> -DPROGRAMS=<files> -DBUILD_DIR=<build folder> -P runpath_guard.cmake
# Every program in PROGRAMS, and every program `cmake --install` puts into a scratch prefix, may
# have a RUNPATH or RPATH only of absolute folders: an empty entry is the current folder and a
# relative one ($ORIGIN included) depends on where the program or the shell stands.
string(REPLACE "|" ";" programs "${PROGRAMS}")
set(prefix "${BUILD_DIR}/runpath-guard-install")
file(REMOVE_RECURSE "${prefix}")
execute_process(COMMAND ${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix "${prefix}"
  RESULT_VARIABLE installed OUTPUT_QUIET)
if(NOT installed EQUAL 0)
  message(FATAL_ERROR "cmake --install into ${prefix} failed")
endif()
file(GLOB installed_programs "${prefix}/bin/*")
list(APPEND programs ${installed_programs})

set(faults "")
foreach(program IN LISTS programs)
  execute_process(COMMAND ${READELF} -d "${program}" OUTPUT_VARIABLE dynamic RESULT_VARIABLE read)
  if(NOT read EQUAL 0)
    string(APPEND faults "\n  ${program}: readelf failed")
  endif()
  string(REGEX MATCHALL "\\((RUNPATH|RPATH)\\)[^\n]*\\[[^]\n]*\\]" entries "${dynamic}")
  foreach(entry IN LISTS entries)
    string(REGEX REPLACE ".*\\[(.*)\\]" "\\1" path "${entry}")
    # Split at ":" keeping empty items, which a CMake list would drop.
    string(REPLACE ":" ";|" folders "${path}")
    foreach(folder IN LISTS folders)
      string(REGEX REPLACE "^\\|" "" folder "${folder}")
      if(NOT folder MATCHES "^/")
        string(APPEND faults "\n  ${program}: [${path}]")
        break()
      endif()
    endforeach()
  endforeach()
endforeach()
file(REMOVE_RECURSE "${prefix}")
list(LENGTH programs count)
if(faults)
  message(FATAL_ERROR "library search paths that are empty or relative:${faults}")
endif()
message(STATUS "${count} programs load libraries only from absolute folders")
