# seeker_linux_only("why"): at the top of a folder's CMakeLists.txt, leaves
# the folder out of the Windows build and says why when the build is
# configured. A macro, so that its return() leaves the calling file.
macro(seeker_linux_only why)
  if(WIN32)
    file(RELATIVE_PATH _seeker_folder ${CMAKE_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
    message(STATUS "Windows build leaves out ${_seeker_folder}: ${why}")
    return()
  endif()
endmacro()
