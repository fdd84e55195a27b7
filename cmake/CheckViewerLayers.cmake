# Checks that the viewer's rooms include only rooms below them (or themselves).
#   cmake -DSOURCE_DIR=<repo> -P cmake/CheckViewerLayers.cmake
# Layers, bottom up: one folder a room. viewer/files holds the plain classes of the
# files (records, archives, the files state); viewer/fileview the view's members that
# use them.
set(layers files render buffers fileview dialogs commands grouppane app)

function(room_of path out)
  string(REGEX MATCH "^viewer/([a-z]+)/" _ ${path})
  set(${out} ${CMAKE_MATCH_1} PARENT_SCOPE)
endfunction()

file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/viewer/*.cpp ${SOURCE_DIR}/viewer/*.h)
set(violations "")
foreach(source ${sources})
  room_of(${source} room)
  list(FIND layers ${room} level)
  if(level EQUAL -1)
    continue()
  endif()
  file(STRINGS ${SOURCE_DIR}/${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"viewer/")
  foreach(line ${includes})
    string(REGEX MATCH "\"(viewer/[^\"]+)\"" _ "${line}")
    room_of(${CMAKE_MATCH_1} target_room)
    list(FIND layers ${target_room} target_level)
    if(target_level GREATER level)
      list(APPEND violations "${source} (${room}) includes ${CMAKE_MATCH_1} (${target_room})")
    endif()
  endforeach()
endforeach()

if(violations)
  list(JOIN violations "\n  " text)
  message(FATAL_ERROR "A lower viewer room includes a higher one:\n  ${text}")
endif()
message(STATUS "viewer layers: ${layers}: no include reaches up")
