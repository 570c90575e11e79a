# Delay-import libraries for the system DLLs the program calls, so that its
# import table names only KERNEL32 and msvcrt, both Known DLLs.
#
# Windows resolves a program's import table before the program's first
# instruction, with the search it has then: the program's own folder first. A
# DLL of that table that is no Known DLL (the side-by-side common controls,
# and behind user32, shell32 and comctl32 the likes of uxtheme and version)
# would be taken from a copy planted beside the program. A delay import is
# loaded at its first call instead, by the run time's helper, after the program
# has kept the search to the system folder (AfxLimitDllSearch).
#
# Each library is made at build time from the toolchain's own import library:
# its __imp_ symbols are the DLL's exports (on i686 with their @N, which
# --kill-at keeps out of the names looked up), written into a .def file that
# dlltool turns into a delay-import library.
#
# ravelind_delay_imports(<target> <dll>...) links <target> against the delay
# versions of the DLLs named (user32, gdi32, ...).
find_program(RAVELIND_DLLTOOL NAMES ${RAVELIND_TRIPLE}-dlltool REQUIRED)
find_program(RAVELIND_NM NAMES ${RAVELIND_TRIPLE}-nm REQUIRED)

set(_ravelind_delay_dir ${CMAKE_BINARY_DIR}/delay-imports)
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(_ravelind_underscore ON)
else()
  set(_ravelind_underscore OFF)
endif()
set(_ravelind_delay_script ${CMAKE_CURRENT_LIST_DIR}/DelayDef.cmake)

function(_ravelind_delay_library dll out)
  set(target ravelind_delay_${dll})
  set(${out} ${target} PARENT_SCOPE)
  if(TARGET ${target})
    return()
  endif()
  find_library(_import_lib_${dll} NAMES lib${dll}.a REQUIRED)
  set(def ${_ravelind_delay_dir}/${dll}.def)
  set(lib ${_ravelind_delay_dir}/lib${dll}_delay.a)
  add_custom_command(OUTPUT ${lib}
    COMMAND ${CMAKE_COMMAND} -DNM=${RAVELIND_NM} -DUNDERSCORE=${_ravelind_underscore} -DIMPORT_LIB=${_import_lib_${dll}}
            -DDLL=${dll}.dll -DDEF=${def} -P ${_ravelind_delay_script}
    COMMAND ${RAVELIND_DLLTOOL} --kill-at --input-def ${def} --dllname ${dll}.dll
            --output-delaylib ${lib}
    DEPENDS ${_import_lib_${dll}} ${_ravelind_delay_script}
    COMMENT "Delay-import library for ${dll}.dll"
    VERBATIM)
  add_custom_target(${target}_make DEPENDS ${lib})
  add_library(${target} STATIC IMPORTED GLOBAL)
  set_target_properties(${target} PROPERTIES IMPORTED_LOCATION ${lib})
  add_dependencies(${target} ${target}_make)
endfunction()

function(ravelind_delay_imports target)
  foreach(dll ${ARGN})
    _ravelind_delay_library(${dll} library)
    target_link_libraries(${target} PUBLIC ${library})
  endforeach()
endfunction()
