# cmake -DNM=... [-DUNDERSCORE=ON] -DIMPORT_LIB=libuser32.a -DDLL=user32.dll -DDEF=user32.def -P DelayDef.cmake
# Writes the .def file of a DLL's exports as its import library names them.
execute_process(COMMAND ${NM} ${IMPORT_LIB} OUTPUT_VARIABLE symbols RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "${NM} could not read ${IMPORT_LIB}")
endif()
# " I __imp_Name" on x86_64, " I __imp__Name@8" on i686, where C names carry an underscore
# (-DUNDERSCORE=ON).
string(REGEX MATCHALL "[ \t]I __imp_[^\r\n]+" imports "${symbols}")
set(names "")
foreach(import ${imports})
  string(REGEX REPLACE "^[ \t]I __imp_" "" name "${import}")
  if(UNDERSCORE)
    string(REGEX REPLACE "^_" "" name "${name}")
  endif()
  list(APPEND names ${name})
endforeach()
list(REMOVE_DUPLICATES names)
list(SORT names)
if(NOT names)
  message(FATAL_ERROR "no exports read from ${IMPORT_LIB}")
endif()
list(JOIN names "\n" body)
file(WRITE ${DEF} "LIBRARY ${DLL}\nEXPORTS\n${body}\n")
