# Makes the shipped program folder from the test program folder: the programs
# and DLLs stripped, their debug information kept as separate files in the
# symbols folder (linked back by a debug link), the skins and fonts copied,
# config\ empty. Run as: cmake -DDIST=... -DSTAGE=... -DSYMBOLS=... -DOBJCOPY=...
# -DSTRIP=... "-DBINARIES=a;b" "-DFILES=c;d" -DSTAMP=... -P Stage.cmake
foreach(var DIST STAGE SYMBOLS OBJCOPY STRIP BINARIES FILES STAMP)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "Stage.cmake needs -D${var}=")
  endif()
endforeach()

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "failed (${status}): ${ARGN}")
  endif()
endfunction()

file(REMOVE_RECURSE ${STAGE})
file(MAKE_DIRECTORY ${STAGE}/config ${SYMBOLS})
foreach(binary ${BINARIES})
  set(debug ${SYMBOLS}/${binary}.debug)
  run(${OBJCOPY} --only-keep-debug ${DIST}/${binary} ${debug})
  run(${STRIP} --strip-all -o ${STAGE}/${binary} ${DIST}/${binary})
  # The link is looked up beside the program or in the debugger's paths;
  # run from the symbols folder so that only the file name is recorded.
  execute_process(COMMAND ${OBJCOPY} --add-gnu-debuglink=${binary}.debug ${STAGE}/${binary}
                  WORKING_DIRECTORY ${SYMBOLS} RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "failed to link ${binary} to its debug file")
  endif()
endforeach()
foreach(f ${FILES})
  if(IS_DIRECTORY ${DIST}/${f})
    file(COPY ${DIST}/${f} DESTINATION ${STAGE})
  elseif(EXISTS ${DIST}/${f})
    file(COPY ${DIST}/${f} DESTINATION ${STAGE})
  endif()
endforeach()
file(TOUCH ${STAMP})
