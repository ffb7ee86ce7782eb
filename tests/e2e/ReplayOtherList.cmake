# A game played with an installed Debian word list (here a folder of the
# test's own in place of /usr/share/dict) is kept, and the simulator plays the
# replay again with that list, found as the game finds it, though its own
# settings name English.
# -DSIM=... -DDATA=build folder -DHOME=scratch folder
file(REMOVE_RECURSE ${HOME})
file(COPY ${DATA}/wordsenglish.txt DESTINATION ${HOME})
foreach(a a b c d e f g h i j k l m n o p q r s t u v w x y z)
  file(APPEND ${HOME}/dict/ngerman "wort${a}a\nwort${a}e\nwort${a}i\nwort${a}o\nwort${a}u\n")
endforeach()
file(WRITE ${HOME}/settings.xml "<?xml version=\"1.0\"?>\n<settings><Words>Deutsch</Words></settings>\n")
set(env ${CMAKE_COMMAND} -E env GLYPHFALL_SYSTEM_WORDS=${HOME}/dict)
execute_process(COMMAND ${env} ${SIM} --home ${HOME} --settings ${HOME}/settings.xml --bot human:5:3 --seed 2
                        --frame-ms 16 --games 1 --until 60000 --record ${HOME}/replays
                OUTPUT_VARIABLE played RESULT_VARIABLE rc ERROR_VARIABLE err)
file(GLOB kept ${HOME}/replays/*.gfr)
list(LENGTH kept count)
if(NOT rc EQUAL 0 OR NOT count EQUAL 1)
  message(FATAL_ERROR "the game was not kept (${rc}, ${count} files): ${err}")
endif()
execute_process(COMMAND ${env} ${SIM} --home ${HOME} --replay ${kept} --verify OUTPUT_VARIABLE replayed
                RESULT_VARIABLE rc ERROR_VARIABLE err)
# --verify fails unless score, waves and bricks lost are the file's.
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the replay of a Deutsch game does not play the same (${rc}): ${err}\n${replayed}")
endif()
