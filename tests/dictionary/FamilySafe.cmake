# Blocked words once went through in their inflected forms; blocking must not
# take innocent words that begin like a blocked one.  -DLIST=assets/wordsenglish.txt
cmake_minimum_required(VERSION 3.20)
file(STRINGS ${LIST} words)
foreach(w IN ITEMS abusive abusing corpses damns drunken idiots idiotic kidnaps morons murdering prostitutes
                   screwing sexes sexist violently)
  if(w IN_LIST words)
    list(APPEND wrong "${w} present")
  endif()
endforeach()
foreach(w IN ITEMS assist assists class passing)
  if(NOT w IN_LIST words)
    list(APPEND wrong "${w} missing")
  endif()
endforeach()
if(wrong)
  message(FATAL_ERROR "word list: ${wrong}")
endif()
