# zk_expose(<target> <PUBLIC|PRIVATE|INTERFACE> <path>...)
# Makes each <path> (a folder or a single header, relative to the source root)
# includable by its own name, e.g. "archive/engine/unrar.h", for <target>
# and, unless PRIVATE, for whatever links it. There is no include path to the
# source root: every target has an include root of its own in the build tree
# holding links to just the paths it exposes. A room therefore sees another room's headers
# only if it links that room's library, and an include the floor plan forbids
# fails to compile.
function(zk_expose target scope)
  set(root ${CMAKE_BINARY_DIR}/include/${target})
  if(scope STREQUAL "PRIVATE")
    string(APPEND root -private)
  endif()
  foreach(path IN LISTS ARGN)
    if(NOT EXISTS ${CMAKE_SOURCE_DIR}/${path})
      message(FATAL_ERROR "zk_expose(${target}): ${path} does not exist")
    endif()
    cmake_path(GET path PARENT_PATH parent)
    file(MAKE_DIRECTORY ${root}/${parent})
    file(REMOVE ${root}/${path})
    file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${path} ${root}/${path} SYMBOLIC)
  endforeach()
  target_include_directories(${target} ${scope} ${root})
endfunction()
