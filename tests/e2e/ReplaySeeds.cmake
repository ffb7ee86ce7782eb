# A game of the human bot, kept as a replay, plays again the same: for each
# seed the replay, checked with --verify against its own record, gives the
# summary of the game that was played. Frames of 16 ms, as on a 60 Hz display;
# a game still going after ten minutes ends there, its window closed, which
# keeps the run short (a good seed loops the waves for over an hour).
# -DSIM=... -DDATA=build folder -DHOME=scratch folder
set(keys score wave waves_completed game_over bricks_lost words_typed letters_typed keys bombs_used)
foreach(seed 1 2 3 4 5 6 7 8 9 10)
  file(REMOVE_RECURSE ${HOME})
  file(MAKE_DIRECTORY ${HOME})
  file(COPY ${DATA}/wordsenglish.txt DESTINATION ${HOME})
  execute_process(COMMAND ${SIM} --home ${HOME} --bot human:5:3 --seed ${seed} --frame-ms 16 --games 1 --until 600000
                          --record ${HOME}/replays OUTPUT_VARIABLE played RESULT_VARIABLE rc ERROR_VARIABLE err)
  file(GLOB kept ${HOME}/replays/*.gfr)
  list(LENGTH kept count)
  if(NOT rc EQUAL 0 OR NOT count EQUAL 1)
    message(FATAL_ERROR "seed ${seed}: the game was not kept (${rc}, ${count} files): ${err}")
  endif()
  execute_process(COMMAND ${SIM} --home ${HOME} --replay ${kept} --verify OUTPUT_VARIABLE replayed
                          RESULT_VARIABLE rc ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "seed ${seed}: the replay does not verify (${rc}): ${err}")
  endif()
  string(REGEX MATCH "{[^\n]*}" played "${played}")
  string(REGEX MATCH "{[^\n]*}" replayed "${replayed}")
  foreach(k IN LISTS keys)
    string(JSON a GET "${played}" ${k})
    string(JSON b GET "${replayed}" ${k})
    if(NOT "${a}" STREQUAL "${b}")
      message(FATAL_ERROR "seed ${seed}: ${k} was ${a}, replayed ${b}\nplayed:   ${played}\nreplayed: ${replayed}")
    endif()
  endforeach()
  message(STATUS "seed ${seed}: ${replayed}")
endforeach()
