# The rooms' one-way dependencies, and the check that keeps them.
#
#   cmake -DROOT=<source tree> -P cmake/CheckLayering.cmake
#
# reads every quoted #include of the rooms' sources and fails, naming the file,
# the header and the room reached, when a file includes a room its own room may
# not use. Every room exports the project root as its include path, so the
# compiler cannot catch an upward include; this check is the rule.
# tests/ and bench/ may use every room and are not checked.

cmake_minimum_required(VERSION 3.25)

# The rooms, lowest first, each with the rooms it may include besides itself.
set(rooms base script report/model report/engine report/render designer records app tools)
set(allowed_base "")
set(allowed_script base)
set(allowed_report/model base)
set(allowed_report/engine report/model script base)
set(allowed_report/render report/engine report/model script base)
set(allowed_designer report/render report/engine report/model script base)
set(allowed_records base)
set(allowed_app designer report/render report/engine report/model script records base)
set(allowed_tools report/render report/engine report/model script base)

if(NOT ROOT)
  message(FATAL_ERROR "usage: cmake -DROOT=<source tree> -P CheckLayering.cmake")
endif()

# The room that holds PATH (relative to ROOT), or "" when none does.
function(room_of path out)
  set(found "")
  foreach(room IN LISTS rooms)
    if(path MATCHES "^${room}/")
      set(found ${room})
    endif()
  endforeach()
  set(${out} "${found}" PARENT_SCOPE)
endfunction()

set(violations 0)
set(checked 0)
foreach(room IN LISTS rooms)
  file(GLOB_RECURSE sources RELATIVE ${ROOT} ${ROOT}/${room}/*.h ${ROOT}/${room}/*.cpp)
  foreach(source IN LISTS sources)
    math(EXPR checked "${checked} + 1")
    file(STRINGS ${ROOT}/${source} lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
    get_filename_component(folder ${source} DIRECTORY)
    foreach(line IN LISTS lines)
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\".*" "\\1" header "${line}")
      # A header beside the including file belongs to its folder; else the
      # include is read from the project root.
      if(EXISTS ${ROOT}/${folder}/${header})
        get_filename_component(target ${ROOT}/${folder}/${header} ABSOLUTE)
        file(RELATIVE_PATH target ${ROOT} ${target})
      else()
        set(target ${header})
      endif()
      room_of(${target} reached)
      if(reached STREQUAL "" OR reached STREQUAL room)
        continue()
      endif()
      if(NOT reached IN_LIST allowed_${room})
        message(SEND_ERROR "${source}: includes \"${header}\": ${room} may not use ${reached}")
        math(EXPR violations "${violations} + 1")
      endif()
    endforeach()
  endforeach()
endforeach()

if(violations GREATER 0)
  message(FATAL_ERROR "${violations} include(s) against the rooms' order")
endif()
message(STATUS "Layering: ${checked} files follow the rooms' order")
