# The release zip. `cmake --build --preset win64 --target package` writes
# ravelind-<version>-win64.zip (win32: -win32.zip) into the build directory,
# holding at its top level the program, its help page, a read-me for Windows
# users and the licence, and beside it SHA256SUMS, which names the zip. The text
# files get Windows line ends and the version.
#
# The zip is the same bytes from any clean clone of one commit: tools/makezip.py
# dates every entry at the last commit (SOURCE_DATE_EPOCH when the caller sets
# it, else git's, looked up while building, not configuring, so that a commit
# after configuring counts) and fixes the order and permissions. CPack stamped
# each entry with the time of the build, hence no CPack.
if(NOT WIN32)
  return()
endif()

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(RAVELIND_PACKAGE_ARCH win64)
else()
  set(RAVELIND_PACKAGE_ARCH win32)
endif()

set(_ravelind_text_dir ${CMAKE_BINARY_DIR}/package-text)
configure_file(${PROJECT_SOURCE_DIR}/docs/README.txt ${_ravelind_text_dir}/README.txt
  @ONLY NEWLINE_STYLE CRLF)
configure_file(${PROJECT_SOURCE_DIR}/LICENSE ${_ravelind_text_dir}/LICENSE @ONLY NEWLINE_STYLE CRLF)

set(_ravelind_zip ${CMAKE_BINARY_DIR}/ravelind-${PROJECT_VERSION}-${RAVELIND_PACKAGE_ARCH}.zip)
# A custom target runs on every build: the commit time may have moved while
# none of the files did. CMake reserves the name while a tree that CPack once
# packaged still holds CPack's configuration: that goes.
file(REMOVE ${CMAKE_BINARY_DIR}/CPackConfig.cmake ${CMAKE_BINARY_DIR}/CPackSourceConfig.cmake)
add_custom_target(package
  COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/tools/makezip.py
          --source ${PROJECT_SOURCE_DIR}
          --output ${_ravelind_zip}
          --sums ${CMAKE_BINARY_DIR}/SHA256SUMS
          --executable ravelind.exe
          $<TARGET_FILE:ravelind>
          ${PROJECT_SOURCE_DIR}/docs/help.htm
          ${_ravelind_text_dir}/README.txt
          ${_ravelind_text_dir}/LICENSE
  BYPRODUCTS ${_ravelind_zip} ${CMAKE_BINARY_DIR}/SHA256SUMS
  DEPENDS ${PROJECT_SOURCE_DIR}/tools/makezip.py ${PROJECT_SOURCE_DIR}/docs/help.htm
  COMMENT "Writing ${_ravelind_zip} and SHA256SUMS"
  VERBATIM)
add_dependencies(package ravelind)

# `cmake --install` still puts the same four files into a folder.
install(TARGETS ravelind RUNTIME DESTINATION .)
install(FILES
  ${_ravelind_text_dir}/README.txt
  ${_ravelind_text_dir}/LICENSE
  ${PROJECT_SOURCE_DIR}/docs/help.htm
  DESTINATION .)

unset(_ravelind_text_dir)
unset(_ravelind_zip)
