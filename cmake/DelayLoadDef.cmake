# Writes the module-definition file of a system DLL from the functions its
# import library holds (cmake -D NM=... -D IMPORT_LIB=... -D DLL=... -D OUT=...
# -P DelayLoadDef.cmake), for dlltool to make a delay-load import library of.
execute_process(COMMAND ${NM} --defined-only ${IMPORT_LIB} OUTPUT_VARIABLE symbols RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "${NM} could not read ${IMPORT_LIB}")
endif()
string(REGEX MATCHALL "[0-9a-fA-F]+ T [A-Za-z_][A-Za-z0-9_@]*" functions "${symbols}")
set(def "LIBRARY ${DLL}.dll\nEXPORTS\n")
foreach(line ${functions})
  string(REGEX REPLACE "^[0-9a-fA-F]+ T " "" name "${line}")
  string(APPEND def "${name}\n")
endforeach()
file(WRITE ${OUT} "${def}")
