# The bundled English list is family-safe in every form of a blocked word,
# and blocking a word does not take innocent words that begin like it.
# -DLIST=assets/wordsenglish.txt
cmake_minimum_required(VERSION 3.20)
file(STRINGS ${LIST} words)
set(found "")
foreach(w IN ITEMS abusive abusing corpses damns drunken idiots idiotic kidnaps morons murdering prostitutes
                   screwing sexes sexist violently)
  if(w IN_LIST words)
    list(APPEND found ${w})
  endif()
endforeach()
if(found)
  message(FATAL_ERROR "blocked forms in the word list: ${found}")
endif()
foreach(w IN ITEMS assist assists class passing)
  if(NOT w IN_LIST words)
    list(APPEND found ${w})
  endif()
endforeach()
if(found)
  message(FATAL_ERROR "innocent words missing from the word list: ${found}")
endif()
