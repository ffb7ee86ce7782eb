# Builds a small tree of folders that keeps its layering, expects the include
# check to pass it, plants one fault and expects the check to fail naming it.
#   cmake -DCHECK=cmake/IncludeGraph.cmake -DTABLE=cmake/Layers.cmake
#         -DWORK=<build dir> -DCASE=include|cycle|unlisted -P tests/layers/PlantedFaults.cmake
cmake_minimum_required(VERSION 3.20)
file(REMOVE_RECURSE ${WORK})

function(run_check expect_pass)
  execute_process(COMMAND ${CMAKE_COMMAND} -DSRC=${WORK}/src -DTABLE=${TABLE} -P ${CHECK}
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(expect_pass AND NOT rc EQUAL 0)
    message(FATAL_ERROR "the check fails a tree that keeps the layering:\n${out}")
  elseif(NOT expect_pass AND rc EQUAL 0)
    message(FATAL_ERROR "the check passes the planted fault:\n${out}")
  endif()
  foreach(expected IN LISTS ARGN)
    string(FIND "${out}" "${expected}" at)
    if(at EQUAL -1)
      message(FATAL_ERROR "the check does not say \"${expected}\":\n${out}")
    endif()
  endforeach()
endfunction()

if(CASE STREQUAL "cycle")
  # A table of its own that allows the two folders to include each other, so
  # only the cycle check can catch it; the hub's cycle is allowed.
  set(TABLE ${WORK}/Table.cmake)
  file(WRITE ${TABLE} [[set(LAYERS "base:" "left: base right" "right: base left"
                                   "hub: base" "one: hub" "two: hub")]])
  file(WRITE ${WORK}/src/base/Base.h "#pragma once\n")
  file(WRITE ${WORK}/src/left/Left.h "#pragma once\n#include \"base/Base.h\"\n#include \"right/Right.h\"\n")
  file(WRITE ${WORK}/src/right/Right.h "#pragma once\n#include \"base/Base.h\"\n")
  file(WRITE ${WORK}/src/one/One.h "#include \"two/Two.h\"\n")
  file(WRITE ${WORK}/src/two/Two.h "#include \"one/One.h\"\n#include \"base/Base.h\"\n")
  run_check(TRUE)
  file(APPEND ${WORK}/src/right/Right.h "\n  #  include \"left/Left.h\"\n")
  run_check(FALSE "include cycle: left/ -> right/ -> left/" "src/left/Left.h:3: left/ includes right/"
            "src/right/Right.h:4: right/ includes left/")
else()
  # The game's own table, on a few folders of the game's shape.
  file(WRITE ${WORK}/src/framework/Utils.h "#pragma once\n")
  file(WRITE ${WORK}/src/sound/Mixer.h "#pragma once\n#include <vector>\n")
  file(WRITE ${WORK}/src/sound/Mixer.cpp "#include \"sound/Mixer.h\"\n#include \"framework/Utils.h\"\n")
  file(WRITE ${WORK}/src/shell/GlyphfallUnit.h "#include \"words/WordUnit.h\"\n#include \"sound/Mixer.h\"\n")
  file(WRITE ${WORK}/src/words/WordUnit.h "#include \"shell/GlyphfallUnit.h\"\n")
  file(WRITE ${WORK}/src/Game.cpp "#include \"shell/GlyphfallUnit.h\"\n#include \"sound/Mixer.h\"\n")
  file(WRITE ${WORK}/src/main.cpp "#include \"Game.h\"\n")
  run_check(TRUE)
  if(CASE STREQUAL "include")
    file(APPEND ${WORK}/src/sound/Mixer.cpp "#include \"shell/GlyphfallUnit.h\"\n")
    run_check(FALSE "src/sound/Mixer.cpp:3: sound/ may not include shell/"
              "-> sound/ -> [hub: shell words waves hiscores dictionary]")
  elseif(CASE STREQUAL "unlisted")
    file(WRITE ${WORK}/src/newbit/Thing.h "#pragma once\n")
    run_check(FALSE "the folder newbit/ has no line")
  else()
    message(FATAL_ERROR "no case ${CASE}")
  endif()
endif()
