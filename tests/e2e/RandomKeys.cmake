# A million random key codes across menu, play, game over and name entry:
# the program must neither crash nor hang. The summary counts the keys typed
# in play (over a quarter of them; the rest land on the title, the menu, the
# results, STATS and OPTIONS screens, the game-over screen and name entry),
# so it must come to some hundred thousand.
# The seed is one whose run, with the results and STATS screens on the way,
# still meets a game over and a name entry.
if(NOT DEFINED SEED)
  set(SEED 10)
endif()
file(REMOVE_RECURSE ${HOME})
file(MAKE_DIRECTORY ${HOME})
file(COPY ${DATA}/wordsenglish.txt DESTINATION ${HOME})
# The keys change the Words option too, so the lists on offer are the test's
# own, whatever the machine has installed: the English list alone (a game in
# another list is practice and would never reach the name entry).
file(MAKE_DIRECTORY ${HOME}/dict ${HOME}/data)
execute_process(COMMAND ${CMAKE_COMMAND} -E env GLYPHFALL_SYSTEM_WORDS=${HOME}/dict XDG_DATA_HOME=${HOME}/data
                        ${SIM} --home ${HOME} --bot random --seed ${SEED} --until 1050000
                OUTPUT_VARIABLE out RESULT_VARIABLE rc ERROR_VARIABLE err)
string(REGEX MATCH "{[^\n]*}" json "${out}")
message(STATUS "${json}")
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the simulator failed (${rc}): ${err}")
endif()
string(JSON keys GET "${json}" keys)
string(JSON over GET "${json}" game_over)
string(JSON frames GET "${json}" frames)
if(keys LESS 250000 OR frames LESS 105000 OR NOT over STREQUAL "ON")
  message(FATAL_ERROR "expected the whole run, 250 000 keys typed in play and a game over: ${json}")
endif()
if(NOT EXISTS ${HOME}/HISCORE.XML)
  message(FATAL_ERROR "no name was ever entered")
endif()
