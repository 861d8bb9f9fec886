# Draws the pictures again into OUT and compares them with the committed
# ones in COMMITTED, byte for byte.
execute_process(COMMAND ${PYTHON} ${SCRIPT} ${OUT} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "make_pictures.py failed")
endif()
foreach(picture emblem.bmp side.bmp quimora.ico)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${COMMITTED}/${picture} ${OUT}/${picture}
                  RESULT_VARIABLE differs)
  if(differs)
    message(FATAL_ERROR "${picture} differs from what make_pictures.py draws: run it on ${COMMITTED}")
  endif()
endforeach()
