# The release. `cmake --build --preset win64 --target package` writes
# ravelind-<version>-win64.zip (win32: -win32.zip) into the build directory,
# holding at its top level the program, its help page, a read-me for Windows
# users and the licence, and copies it into the release folder that both
# architectures share (build/release), beside SHA256SUMS, BUILDINFO and draft
# winget and Scoop manifests, which name the zips of one commit only. The text
# files get Windows line ends and the version.
#
# When release/signatures/ravelind-<version>-<arch>.exe.pem is committed, the zip
# holds the program with that signature attached; a signature made for other
# bytes stops the package. `--target sign` makes it (see tools/release.py).
#
# The zip is the same bytes from any clean clone of one commit: tools/makezip.py
# dates every entry at the last commit (SOURCE_DATE_EPOCH when the caller sets
# it, else git's, looked up while building, not configuring, so that a commit
# after configuring counts) and fixes the order, the permissions and the
# storing. CPack stamped each entry with the time of the build, hence no CPack.
if(NOT WIN32)
  return()
endif()

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(RAVELIND_PACKAGE_ARCH win64)
else()
  set(RAVELIND_PACKAGE_ARCH win32)
endif()

set(RAVELIND_RELEASE_DIR ${PROJECT_SOURCE_DIR}/build/release CACHE PATH
  "The folder that gathers both architectures' zips, SHA256SUMS, BUILDINFO and manifests")
set(RAVELIND_RELEASE_URL "http://www.ravelind.example/ravelind/releases/v@VERSION@" CACHE STRING
  "Where the release's zips are published, @VERSION@ for the version: the manifests name it")
set(_ravelind_homepage "http://www.ravelind.example/ravelind/")

set(_ravelind_text_dir ${CMAKE_BINARY_DIR}/package-text)
configure_file(${PROJECT_SOURCE_DIR}/docs/README.txt ${_ravelind_text_dir}/README.txt
  @ONLY NEWLINE_STYLE CRLF)
configure_file(${PROJECT_SOURCE_DIR}/LICENSE ${_ravelind_text_dir}/LICENSE @ONLY NEWLINE_STYLE CRLF)

set(_ravelind_name ravelind-${PROJECT_VERSION}-${RAVELIND_PACKAGE_ARCH})
set(_ravelind_zip ${CMAKE_BINARY_DIR}/${_ravelind_name}.zip)
set(_ravelind_release
  ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/tools/release.py
  --source ${PROJECT_SOURCE_DIR}
  --program $<TARGET_FILE:ravelind>
  --signature ${PROJECT_SOURCE_DIR}/release/signatures/${_ravelind_name}.exe.pem
  --arch ${RAVELIND_PACKAGE_ARCH})
# A custom target runs on every build: the commit time may have moved while
# none of the files did. CMake reserves the name while a tree that CPack once
# packaged still holds CPack's configuration: that goes.
file(REMOVE ${CMAKE_BINARY_DIR}/CPackConfig.cmake ${CMAKE_BINARY_DIR}/CPackSourceConfig.cmake)
add_custom_target(package
  COMMAND ${_ravelind_release} package
          --version ${PROJECT_VERSION}
          --build ${CMAKE_BINARY_DIR}
          --release ${RAVELIND_RELEASE_DIR}
          --url ${RAVELIND_RELEASE_URL}
          --homepage ${_ravelind_homepage}
          --compiler ${CMAKE_CXX_COMPILER}
          --linker ${CMAKE_LINKER}
          --cmake ${CMAKE_COMMAND}
          --executable ravelind.exe
          ${PROJECT_SOURCE_DIR}/docs/help.htm
          ${_ravelind_text_dir}/README.txt
          ${_ravelind_text_dir}/LICENSE
  BYPRODUCTS ${_ravelind_zip}
  COMMENT "Writing ${_ravelind_zip} and the release in ${RAVELIND_RELEASE_DIR}"
  VERBATIM)
add_dependencies(package ravelind)

# Signs the program just built with RAVELIND_SIGN_CERT and RAVELIND_SIGN_KEY
# and writes the signature into release/signatures/ for the maintainer to commit.
add_custom_target(sign
  COMMAND ${_ravelind_release} sign
  COMMENT "Signing ravelind.exe (${RAVELIND_PACKAGE_ARCH})"
  VERBATIM)
add_dependencies(sign ravelind)

# `cmake --install` still puts the same four files into a folder.
install(TARGETS ravelind RUNTIME DESTINATION .)
install(FILES
  ${_ravelind_text_dir}/README.txt
  ${_ravelind_text_dir}/LICENSE
  ${PROJECT_SOURCE_DIR}/docs/help.htm
  DESTINATION .)

foreach(_ravelind_var text_dir name zip release homepage)
  unset(_ravelind_${_ravelind_var})
endforeach()
