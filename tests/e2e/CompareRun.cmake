# Runs the simulator and compares the deterministic keys of its JSON line with
# an expected file. Timing keys (frame_ms_*) are machine-dependent and skipped.
# -DSIM=... -DEXPECTED=... -DARGS="a;b;c" -DDATA=build folder -DHOME=scratch folder
# [-DUPDATE=1 rewrites the expected file]
# The game runs in a fresh folder of its own, so no high-score file of an
# earlier run changes what it shows.
file(REMOVE_RECURSE ${HOME})
file(MAKE_DIRECTORY ${HOME})
file(COPY ${DATA}/wordsenglish.txt DESTINATION ${HOME})
if(EXISTS ${DATA}/wave)
  file(COPY ${DATA}/wave DESTINATION ${HOME})
endif()
execute_process(COMMAND ${SIM} --home ${HOME} ${ARGS} OUTPUT_VARIABLE out RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "simulator failed (${rc}): ${err}")
endif()
string(STRIP "${out}" out)
string(REGEX MATCH "{[^\n]*}$" json "${out}")
if(UPDATE)
  file(WRITE ${EXPECTED} "${json}\n")
  message(STATUS "updated ${EXPECTED}")
  return()
endif()
file(READ ${EXPECTED} expected)
set(keys screen frames game_time score high_score wave waves_completed looped game_over bricks_lost
         words_typed letters_typed keys bombs_used wpm accuracy misses)
set(diffs "")
foreach(k IN LISTS keys)
  string(JSON want ERROR_VARIABLE e1 GET "${expected}" ${k})
  string(JSON got ERROR_VARIABLE e2 GET "${json}" ${k})
  if(NOT "${want}" STREQUAL "${got}")
    string(APPEND diffs "  ${k}: expected ${want}, got ${got}\n")
  endif()
endforeach()
if(diffs)
  message(FATAL_ERROR "play-through differs from ${EXPECTED}:\n${diffs}full line: ${json}")
endif()
message(STATUS "play-through matches: ${json}")
