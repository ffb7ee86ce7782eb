# A human-like bot typing at a given rate with ERR % wrong keys must be
# reported at about that rate x (1 - ERR %) words a minute, however long it
# waits for words: in the whole game and in every wave of 50 letters or more.
# Under the Classic rules the accuracy is checked too (a wrong key sometimes
# hits a word anyway, so it may come out higher than 1 - ERR %).
# -DSIM=... -DDATA=build folder -DHOME=scratch folder

# Runs the bot at wpm words a minute; sets waves and summary to the JSON lines
# and tenths to the game's WPM x 10 (read as printed: CMake's JSON reader
# would reformat the decimals).
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
  string(REGEX MATCH "\"wpm\":([0-9.]+)" ignored "${summary}")
  string(REPLACE "." "" tenths "${CMAKE_MATCH_1}")
  set(waves "${waves}" PARENT_SCOPE)
  set(summary "${summary}" PARENT_SCOPE)
  set(tenths "${tenths}" PARENT_SCOPE)
endfunction()

# Fails unless tenths (WPM x 10) is within 10 % of the expected speed.
function(check what tenths wpm err)
  math(EXPR expected "${wpm} * (100 - ${err}) / 10")
  math(EXPR low "${expected} * 9 / 10")
  math(EXPR high "${expected} * 11 / 10")
  if(tenths LESS low OR tenths GREATER high)
    message(FATAL_ERROR "${what}: ${tenths} tenths of a word a minute, not within 10 % of ${expected}")
  endif()
endfunction()

foreach(wpm 20 40 60 100)
  play(${wpm} typist 3 600000)
  check("Typist ${wpm} WPM, the game" ${tenths} ${wpm} 3)
  string(JSON count LENGTH "${waves}" waves)
  set(checked 0)
  math(EXPR last "${count} - 1")
  foreach(i RANGE ${last})
    string(JSON hits GET "${waves}" waves ${i} hits)
    string(JSON ms GET "${waves}" waves ${i} typing_ms)
    if(hits GREATER_EQUAL 50 AND ms GREATER 0)
      math(EXPR tenths "${hits} * 120000 / ${ms}")
      check("Typist ${wpm} WPM, wave ${i}" ${tenths} ${wpm} 3)
      math(EXPR checked "${checked} + 1")
    endif()
  endforeach()
  if(checked EQUAL 0)
    message(FATAL_ERROR "Typist ${wpm} WPM: no wave of 50 letters to check: ${waves}")
  endif()
endforeach()

# Classic, 60 WPM with one key in ten wrong, twenty minutes: accuracy too, in
# thousandths (its three decimals without the point).
play(60 classic 10 1200000)
check("Classic 60 WPM" ${tenths} 60 10)
string(REGEX MATCH "\"accuracy\":([0-9.]+)" ignored "${summary}")
string(REPLACE "." "" accuracyPermille "${CMAKE_MATCH_1}")
math(EXPR accuracyPermille "1${accuracyPermille} - 10000")
if(accuracyPermille LESS 900 OR accuracyPermille GREATER 950)
  message(FATAL_ERROR "accuracy ${CMAKE_MATCH_1} is not within 900 .. 950 per mille")
endif()
message(STATUS "Classic: ${summary}")
