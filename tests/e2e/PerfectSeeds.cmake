# The perfect bot completes all fourteen waves and enters the loop, without
# losing, for every seed of a fixed set. 20 ms frames keep the run short.
foreach(seed 1 2 3 4 5 6 7 8 9 10)
  file(REMOVE_RECURSE ${HOME})
  file(MAKE_DIRECTORY ${HOME})
  file(COPY ${DATA}/wordsenglish.txt DESTINATION ${HOME})
  execute_process(COMMAND ${SIM} --home ${HOME} --bot perfect --seed ${seed} --frame-ms 20 --stop-after-waves 15
                          --until 100000000 OUTPUT_VARIABLE out RESULT_VARIABLE rc)
  string(REGEX MATCH "{[^\n]*}" json "${out}")
  string(JSON waves GET "${json}" waves_completed)
  string(JSON looped GET "${json}" looped)
  string(JSON over GET "${json}" game_over)
  message(STATUS "seed ${seed}: ${json}")
  if(NOT rc EQUAL 0 OR waves LESS 15 OR NOT looped STREQUAL "ON" OR NOT over STREQUAL "OFF")
    message(FATAL_ERROR "seed ${seed} did not play through: ${json}")
  endif()
endforeach()
