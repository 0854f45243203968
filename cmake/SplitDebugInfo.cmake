# Run at install time (install(SCRIPT)): the installed program is stripped,
# and its debug information is written where debuggers look for it,
# lib/debug/.build-id/xx/rest-of-the-build-id.debug under the prefix. Set
# before it: SEEKER_OBJCOPY, SEEKER_READELF, SEEKER_UNSTRIPPED (the program
# in the build tree), SEEKER_INSTALLED (its place under the prefix) and
# SEEKER_SPLIT_PART: "program" strips the installed program, "debug" writes
# the debug information.
function(seeker_run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE failed ERROR_VARIABLE error OUTPUT_QUIET)
  if(failed)
    list(JOIN ARGN " " command)
    message(FATAL_ERROR "${command}: ${error}")
  endif()
endfunction()

# A function, so that nothing it sets leaks into the install script (where
# a variable named like a component would change the script's own tests).
function(seeker_split_debug_info)
  set(root "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
  if(SEEKER_SPLIT_PART STREQUAL "program")
    # The build id stays, so the program and its debug information still pair.
    seeker_run(${SEEKER_OBJCOPY} --strip-unneeded --remove-section=.comment
               "${root}/${SEEKER_INSTALLED}")
  else()
    execute_process(COMMAND env LC_ALL=C ${SEEKER_READELF} -n "${SEEKER_UNSTRIPPED}"
                    OUTPUT_VARIABLE notes)
    if(NOT notes MATCHES "Build ID: ([0-9a-f][0-9a-f])([0-9a-f]+)")
      message(FATAL_ERROR "${SEEKER_UNSTRIPPED} has no build id")
    endif()
    set(debug "${root}/lib/debug/.build-id/${CMAKE_MATCH_1}/${CMAKE_MATCH_2}.debug")
    message(STATUS "Installing: ${debug}")
    get_filename_component(dir "${debug}" DIRECTORY)
    file(MAKE_DIRECTORY "${dir}")
    seeker_run(${SEEKER_OBJCOPY} --only-keep-debug --compress-debug-sections "${SEEKER_UNSTRIPPED}"
               "${debug}")
    file(CHMOD "${debug}" FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
  endif()
endfunction()

seeker_split_debug_info()
