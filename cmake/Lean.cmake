# How the shipped program's own code is compiled on Windows, for size.
#
# - No exceptions and no run-time type information: none of the C++ run-time
#   support for them (unwinder, terminate handler, name demangler, exception
#   classes, the posix thread layer under them) is linked in.
# - C++20: libstdc++ declares its prebuilt std::string extern only up to
#   C++17; from C++20 on, the string members the program uses are compiled
#   here, without exceptions, instead of linking the library's copy.
# - Size over speed, and on 64-bit one optimisation over all of it at link
#   time. The i686 linker takes the inline functions that the tests' objects
#   and link-time-optimised libraries both define for two definitions.
#
# app/LeanRuntime.cpp, linked into ravelind.exe only, supplies operator
# new/delete and the standard library's error paths. The Windows tests link
# these libraries too and keep exceptions, RTTI and the library's own
# versions for themselves.
function(ravelind_lean target)
  if(WIN32)
    target_compile_options(${target} PRIVATE -fno-exceptions -fno-rtti -Os)
    set_target_properties(${target} PROPERTIES CXX_STANDARD 20)
    if(CMAKE_SIZEOF_VOID_P EQUAL 8)
      set_target_properties(${target} PROPERTIES INTERPROCEDURAL_OPTIMIZATION ON)
    endif()
  endif()
endfunction()
