# Which RAR library lands beside `setup` as bin/libunrar.so, with its licence
# text as bin/libunrar.so.copyright:
#   public  Debian's libunrar5, unpacked by build.sh under ZK_PUBLIC_UNRAR_ROOT
#   own     the project's libunrar.so from unrar/ (libarchive underneath)
# The own library is built and tested either way; it lives in own-unrar/ so
# that only the chosen one sits in bin/.
set(ZK_RAR_LIBRARY public CACHE STRING "RAR library shipped beside setup: public or own")
set_property(CACHE ZK_RAR_LIBRARY PROPERTY STRINGS public own)
set(ZK_PUBLIC_UNRAR_ROOT ${CMAKE_BINARY_DIR}/debian/root CACHE PATH
  "Folder Debian's libunrar5 package was unpacked into")

set(ZK_OWN_UNRAR_DIR ${CMAKE_BINARY_DIR}/own-unrar)
set_target_properties(unrar PROPERTIES LIBRARY_OUTPUT_DIRECTORY ${ZK_OWN_UNRAR_DIR})

# The public library's file and licence, if unpacked; empty otherwise.
file(GLOB zk_public_unrar_candidates ${ZK_PUBLIC_UNRAR_ROOT}/usr/lib/*/libunrar.so.5)
set(ZK_PUBLIC_UNRAR "")
set(zk_public_unrar_copyright ${ZK_PUBLIC_UNRAR_ROOT}/usr/share/doc/libunrar5/copyright)
if(zk_public_unrar_candidates AND EXISTS ${zk_public_unrar_copyright})
  list(GET zk_public_unrar_candidates 0 ZK_PUBLIC_UNRAR)
  file(REAL_PATH ${ZK_PUBLIC_UNRAR} ZK_PUBLIC_UNRAR)
endif()

if(ZK_RAR_LIBRARY STREQUAL "public")
  if(NOT ZK_PUBLIC_UNRAR)
    message(FATAL_ERROR
      "ZK_RAR_LIBRARY=public, but Debian's libunrar5 is not unpacked under ${ZK_PUBLIC_UNRAR_ROOT} "
      "(no usr/lib/*/libunrar.so.5 with usr/share/doc/libunrar5/copyright). "
      "Run ./build.sh, which fetches it, or point ZK_PUBLIC_UNRAR_ROOT at an unpacked copy, "
      "or configure with -DZK_RAR_LIBRARY=own for the project's own library.")
  endif()
  set(zk_chosen_unrar ${ZK_PUBLIC_UNRAR})
  set(zk_chosen_copyright ${zk_public_unrar_copyright})
  set(zk_chosen_depends ${ZK_PUBLIC_UNRAR} ${zk_public_unrar_copyright})
elseif(ZK_RAR_LIBRARY STREQUAL "own")
  set(zk_chosen_unrar $<TARGET_FILE:unrar>)
  set(zk_chosen_copyright ${CMAKE_SOURCE_DIR}/unrar/copyright.txt)
  set(zk_chosen_depends unrar ${zk_chosen_copyright})
else()
  message(FATAL_ERROR "ZK_RAR_LIBRARY must be public or own, not '${ZK_RAR_LIBRARY}'")
endif()
message(STATUS "RAR library beside setup: ${ZK_RAR_LIBRARY}")

set(ZK_CHOSEN_UNRAR ${CMAKE_BINARY_DIR}/bin/libunrar.so)
add_custom_command(OUTPUT ${ZK_CHOSEN_UNRAR} ${ZK_CHOSEN_UNRAR}.copyright
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/bin
  COMMAND ${CMAKE_COMMAND} -E copy ${zk_chosen_unrar} ${ZK_CHOSEN_UNRAR}
  COMMAND ${CMAKE_COMMAND} -E copy ${zk_chosen_copyright} ${ZK_CHOSEN_UNRAR}.copyright
  DEPENDS ${zk_chosen_depends}
  VERBATIM)
add_custom_target(rar_library ALL DEPENDS ${ZK_CHOSEN_UNRAR} ${ZK_CHOSEN_UNRAR}.copyright)
