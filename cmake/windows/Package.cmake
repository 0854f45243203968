# What a Windows user downloads. seeker.exe gets its resources here (the icon
# assets/ packs, the version, the manifest); the target `package` makes both
# downloads from it, as part of every build (the tests install them):
#   cmake --build --preset windows --target package
# writes build/windows/seeker-VERSION-setup.exe (the installer, NSIS) and
# build/windows/seeker-VERSION-portable.zip (seeker.exe and README.txt).
find_program(SEEKER_MAKENSIS makensis REQUIRED)
find_package(Python3 REQUIRED COMPONENTS Interpreter)

set(windows_data ${CMAKE_SOURCE_DIR}/data/windows)
set(generated ${CMAKE_BINARY_DIR}/windows)
set(SEEKER_VERSION4 ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.0)

# --- seeker.exe's resources --------------------------------------------------
set(SEEKER_MANIFEST ${generated}/seeker.exe.manifest)
configure_file(${windows_data}/seeker.exe.manifest.in ${SEEKER_MANIFEST} @ONLY)
configure_file(${windows_data}/seeker.rc.in ${generated}/seeker.rc @ONLY)
target_sources(seeker PRIVATE ${generated}/seeker.rc)
set_source_files_properties(${generated}/seeker.rc TARGET_DIRECTORY seeker PROPERTIES
  COMPILE_OPTIONS -c65001  # windres reads the file as UTF-8
  OBJECT_DEPENDS "${SEEKER_WINDOWS_ICON};${SEEKER_MANIFEST}")
add_dependencies(seeker seeker_windows_icon)

# --- What both downloads hold: the program without its debugging symbols ----
# The same sources give the same downloads, byte for byte: the installer
# keeps no file times, and seeker.exe's header and the zip's files carry the
# date of the sources (SOURCE_DATE_EPOCH when given, else the last commit's,
# else that of the top CMakeLists.txt as a source archive unpacks it).
if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(source_epoch $ENV{SOURCE_DATE_EPOCH})
else()
  execute_process(COMMAND git log -1 --format=%ct WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
    OUTPUT_VARIABLE source_epoch OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  if(NOT source_epoch MATCHES "^[0-9]+$")
    file(TIMESTAMP ${CMAKE_SOURCE_DIR}/CMakeLists.txt source_epoch "%s" UTC)
  endif()
endif()

set(stage ${CMAKE_BINARY_DIR}/package)
configure_file(${windows_data}/README.txt.in ${generated}/README.txt @ONLY NEWLINE_STYLE CRLF)
add_custom_command(
  OUTPUT ${stage}/seeker.exe ${stage}/README.txt
  COMMAND ${CMAKE_COMMAND} -E make_directory ${stage}
  # strip writes the time it finds there into the header.
  COMMAND ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${source_epoch}
          ${CMAKE_STRIP} -o ${stage}/seeker.exe $<TARGET_FILE:seeker>
  COMMAND ${CMAKE_COMMAND} -E copy ${generated}/README.txt ${stage}/README.txt
  DEPENDS seeker ${generated}/README.txt
  COMMENT "Staging seeker.exe and README.txt"
  VERBATIM)

set(SEEKER_SETUP ${CMAKE_BINARY_DIR}/seeker-${PROJECT_VERSION}-setup.exe)
add_custom_command(
  OUTPUT ${SEEKER_SETUP}
  COMMAND ${SEEKER_MAKENSIS} -V2 -WX -INPUTCHARSET UTF8
          -DVERSION=${PROJECT_VERSION} -DVERSION4=${SEEKER_VERSION4} -DSTAGE=${stage}
          -DICON=${SEEKER_WINDOWS_ICON} -DOUTFILE=${SEEKER_SETUP}
          ${windows_data}/installer.nsi
  DEPENDS ${stage}/seeker.exe ${stage}/README.txt ${windows_data}/installer.nsi
          ${SEEKER_WINDOWS_ICON}
  COMMENT "Building the installer seeker-${PROJECT_VERSION}-setup.exe"
  VERBATIM)

set(SEEKER_PORTABLE_ZIP ${CMAKE_BINARY_DIR}/seeker-${PROJECT_VERSION}-portable.zip)
add_custom_command(
  OUTPUT ${SEEKER_PORTABLE_ZIP}
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_LIST_DIR}/make_zip.py ${SEEKER_PORTABLE_ZIP}
          ${source_epoch} ${stage}/seeker.exe ${stage}/README.txt
  DEPENDS ${stage}/seeker.exe ${stage}/README.txt ${CMAKE_CURRENT_LIST_DIR}/make_zip.py
  COMMENT "Packing seeker-${PROJECT_VERSION}-portable.zip"
  VERBATIM)

# A build folder configured before this file took over may still hold CPack's
# configuration, which reserves the name.
file(REMOVE ${CMAKE_BINARY_DIR}/CPackConfig.cmake ${CMAKE_BINARY_DIR}/CPackSourceConfig.cmake)
add_custom_target(package ALL DEPENDS ${SEEKER_SETUP} ${SEEKER_PORTABLE_ZIP})
