# A human-like bot typing CPS characters a second with ERR % wrong keys must be
# reported at about CPS x 12 x (1 - ERR %) words a minute and 1 - ERR % accuracy
# (a wrong key sometimes hits a word anyway, so accuracy may come out higher).
# Twenty minutes of play: the first waves leave the typist idle at times.
# -DSIM=... -DDATA=build folder -DHOME=scratch folder
set(cps 5)
set(err 10)
file(REMOVE_RECURSE ${HOME})
file(MAKE_DIRECTORY ${HOME})
file(COPY ${DATA}/wordsenglish.txt DESTINATION ${HOME})
execute_process(COMMAND ${SIM} --home ${HOME} --bot human:${cps}:${err} --seed 7 --frame-ms 20
                        --until 1200000 OUTPUT_VARIABLE out RESULT_VARIABLE rc ERROR_VARIABLE errors)
string(REGEX MATCH "{[^\n]*}" json "${out}")
if(NOT rc EQUAL 0 OR NOT json)
  message(FATAL_ERROR "simulator failed (${rc}): ${errors}")
endif()
# Read as printed: CMake's JSON reader would reformat the decimals.
string(REGEX MATCH "\"wpm\":([0-9.]+)" ignored "${json}")
set(wpm ${CMAKE_MATCH_1})
string(REGEX MATCH "\"accuracy\":([0-9.]+)" ignored "${json}")
set(accuracy ${CMAKE_MATCH_1})
math(EXPR expectedTenths "${cps} * 12 * (100 - ${err}) / 10")  # 54.0 WPM as 540
# The figures have one and three decimals: without the point they are tenths
# of a word a minute and thousandths.
string(REPLACE "." "" wpmTenths "${wpm}")
string(REPLACE "." "" accuracyPermille "${accuracy}")
math(EXPR accuracyPermille "1${accuracyPermille} - 10000")
message(STATUS "${json}")
# Within 10 % of the expected speed, and 0 .. 5 points above the expected accuracy.
math(EXPR low "${expectedTenths} * 9 / 10")
math(EXPR high "${expectedTenths} * 11 / 10")
math(EXPR accLow "1000 - ${err} * 10")
math(EXPR accHigh "${accLow} + 50")
if(wpmTenths LESS low OR wpmTenths GREATER high)
  message(FATAL_ERROR "wpm ${wpm} is not within 10 % of ${expectedTenths} tenths")
endif()
if(accuracyPermille LESS accLow OR accuracyPermille GREATER accHigh)
  message(FATAL_ERROR "accuracy ${accuracy} is not within ${accLow} .. ${accHigh} per mille")
endif()
