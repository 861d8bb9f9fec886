# Runs "skintool dump SKIN --arrow-width 17" under Wine and compares what it
# prints, line ends aside, with EXPECTED.
execute_process(COMMAND ${WINE_RUN} ${SKINTOOL} dump ${SKIN} --arrow-width 17
                OUTPUT_VARIABLE printed RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "skintool dump failed (${status})")
endif()
string(REPLACE "\r\n" "\n" printed "${printed}")
file(WRITE ${OUT} "${printed}")
file(READ ${EXPECTED} expected)
if(NOT printed STREQUAL expected)
  execute_process(COMMAND diff -u ${EXPECTED} ${OUT})
  message(FATAL_ERROR "skintool dump differs from ${EXPECTED}")
endif()
