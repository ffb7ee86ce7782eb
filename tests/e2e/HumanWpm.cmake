# A human-like bot typing at a given rate with ERR % wrong keys must be
# reported at about that rate x (1 - ERR %) words a minute, however long it
# waits for words: in the whole game and in every wave with 50 letters or more.
# Under the Classic rules the accuracy is checked too (a wrong key sometimes
# hits a word anyway, so it may come out higher than 1 - ERR %).
# -DSIM=... -DDATA=build folder -DHOME=scratch folder
set(err 3)

# Runs the bot at wpm words a minute; sets summary and waves to the JSON lines.
function(play wpm rules err until)
  file(REMOVE_RECURSE ${HOME})
  file(MAKE_DIRECTORY ${HOME})
  file(COPY ${DATA}/wordsenglish.txt DESTINATION ${HOME})
  execute_process(COMMAND ${SIM} --home ${HOME} --bot human::${err} --wpm ${wpm} --rules ${rules} --seed 7
                          --frame-ms 20 --games 1 --until ${until} --waves
                  OUTPUT_VARIABLE out RESULT_VARIABLE rc ERROR_VARIABLE errors)
  string(REGEX MATCHALL "{[^\n]*}" lines "${out}")
  list(LENGTH lines count)
  if(NOT rc EQUAL 0 OR NOT count EQUAL 2)
    message(FATAL_ERROR "simulator failed (${rc}): ${errors}")
  endif()
  list(GET lines 0 waves)
  list(GET lines 1 summary)
  set(waves "${waves}" PARENT_SCOPE)
  set(summary "${summary}" PARENT_SCOPE)
endfunction()

# Fails unless tenths (WPM x 10) is within 10 % of the expected speed.
function(check what tenths wpm err)
  math(EXPR expected "${wpm} * (100 - ${err}) / 10")  # in tenths
  math(EXPR low "${expected} * 9 / 10")
  math(EXPR high "${expected} * 11 / 10")
  if(tenths LESS low OR tenths GREATER high)
    message(FATAL_ERROR "${what}: ${tenths} tenths of a word a minute, not within 10 % of ${expected}")
  endif()
endfunction()

foreach(wpm 20 40 60 100)
  play(${wpm} typist ${err} 600000)
  # Read as printed: CMake's JSON reader would reformat the decimals.
  string(REGEX MATCH "\"wpm\":([0-9.]+)" ignored "${summary}")
  string(REPLACE "." "" gameTenths "${CMAKE_MATCH_1}")
  check("Typist ${wpm} WPM, the game" ${gameTenths} ${wpm} ${err})
  set(report "Typist ${wpm} WPM: game ${CMAKE_MATCH_1}")
  string(JSON count LENGTH "${waves}" waves)
  set(checked 0)
  math(EXPR last "${count} - 1")
  foreach(i RANGE ${last})
    string(JSON wave GET "${waves}" waves ${i} wave)
    string(JSON hits GET "${waves}" waves ${i} hits)
    string(JSON ms GET "${waves}" waves ${i} typing_ms)
    if(hits LESS 50 OR ms EQUAL 0)
      continue()
    endif()
    math(EXPR tenths "${hits} * 120000 / ${ms}")
    check("Typist ${wpm} WPM, wave ${wave}" ${tenths} ${wpm} ${err})
    string(APPEND report ", wave ${wave} ${tenths}/10")
    math(EXPR checked "${checked} + 1")
  endforeach()
  if(checked EQUAL 0)
    message(FATAL_ERROR "Typist ${wpm} WPM: no wave of 50 letters to check: ${waves}")
  endif()
  message(STATUS "${report}")
endforeach()

# Classic, 60 WPM with one key in ten wrong, twenty minutes: accuracy too.
set(err 10)
play(60 classic ${err} 1200000)
string(REGEX MATCH "\"wpm\":([0-9.]+)" ignored "${summary}")
string(REPLACE "." "" wpmTenths "${CMAKE_MATCH_1}")
check("Classic 60 WPM" ${wpmTenths} 60 ${err})
string(REGEX MATCH "\"accuracy\":([0-9.]+)" ignored "${summary}")
set(accuracy ${CMAKE_MATCH_1})
# Three decimals: without the point, thousandths.
string(REPLACE "." "" accuracyPermille "${accuracy}")
math(EXPR accuracyPermille "1${accuracyPermille} - 10000")
math(EXPR accLow "1000 - ${err} * 10")
math(EXPR accHigh "${accLow} + 50")
if(accuracyPermille LESS accLow OR accuracyPermille GREATER accHigh)
  message(FATAL_ERROR "accuracy ${accuracy} is not within ${accLow} .. ${accHigh} per mille")
endif()
message(STATUS "Classic: ${summary}")
