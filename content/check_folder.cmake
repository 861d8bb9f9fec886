# Runs SCRIPT to draw a folder into OUT and compares every file of the
# committed folder COMMITTED with the one drawn, byte for byte; the drawn
# folder must hold no file the committed one lacks.
file(REMOVE_RECURSE ${OUT})
execute_process(COMMAND ${PYTHON} ${SCRIPT} ${OUT} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${SCRIPT} failed")
endif()
file(GLOB drawn RELATIVE ${OUT} ${OUT}/*)
foreach(name ${drawn})
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${COMMITTED}/${name} ${OUT}/${name}
                  RESULT_VARIABLE differs)
  if(differs)
    message(FATAL_ERROR "${name} differs from what ${SCRIPT} draws: run it on ${COMMITTED}")
  endif()
endforeach()
file(GLOB committed RELATIVE ${COMMITTED} ${COMMITTED}/*)
list(LENGTH drawn drawnCount)
list(LENGTH committed committedCount)
if(NOT drawnCount EQUAL committedCount)
  message(FATAL_ERROR "${COMMITTED} holds ${committedCount} files, ${SCRIPT} draws ${drawnCount}")
endif()
