# The release zip. `cmake --build --preset win64 --target package` writes
# ravelind-<version>-win64.zip (win32: -win32.zip) into the build directory,
# holding at its top level the program, its help page, a read-me for Windows
# users and the licence. The text files get Windows line ends and the version.
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

install(TARGETS ravelind RUNTIME DESTINATION .)
install(FILES
  ${_ravelind_text_dir}/README.txt
  ${_ravelind_text_dir}/LICENSE
  ${PROJECT_SOURCE_DIR}/docs/help.htm
  DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME ravelind)
set(CPACK_PACKAGE_VENDOR "The Ravelind developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME ravelind-${PROJECT_VERSION}-${RAVELIND_PACKAGE_ARCH})
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_SOURCE_GENERATOR "")
include(CPack)
