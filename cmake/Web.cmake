# The browser build: the game on the web platform as index.html,
# glyphfall.js, glyphfall.wasm and glyphfall.data (the word list and the
# sounds, preloaded into the page's file system at /game).
find_program(NODE node REQUIRED)

# The sound effects are synthesized at build time, by the same maker run
# under Node.js with the real file system.
add_executable(mkwaves tools/mkwaves/mkwaves.cpp)
set_target_properties(mkwaves PROPERTIES SUFFIX .js RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)
# Compiled at once: this emcc would fetch() the file by path on newer Node.js.
target_link_options(mkwaves PRIVATE -sNODERAWFS=1 -sENVIRONMENT=node -sALLOW_MEMORY_GROWTH=1 -sWASM_ASYNC_COMPILATION=0)
set(WEB_DATA ${CMAKE_BINARY_DIR}/data)
set(WEB_WAVES letter brick explode detonatebomb bomb castle slowdown retreat speedup cannon bossalert castledestroyed)
set(WEB_DATA_FILES ${WEB_DATA}/wordsenglish.txt)
foreach(name IN LISTS WEB_WAVES)
  list(APPEND WEB_DATA_FILES ${WEB_DATA}/wave/${name}.wav)
endforeach()
add_custom_command(
  OUTPUT ${WEB_DATA_FILES}
  COMMAND ${NODE} ${CMAKE_BINARY_DIR}/tools/mkwaves.js ${WEB_DATA}/wave
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/assets/wordsenglish.txt ${WEB_DATA}/wordsenglish.txt
  DEPENDS mkwaves ${CMAKE_SOURCE_DIR}/assets/wordsenglish.txt
  COMMENT "Synthesizing the sound effects for the page"
  VERBATIM)
add_custom_target(web_data DEPENDS ${WEB_DATA_FILES})

file(GLOB WEB_SOURCES CONFIGURE_DEPENDS src/platform/web/*.cpp)
add_executable(glyphfall-web src/webmain.cpp ${WEB_SOURCES})
target_link_libraries(glyphfall-web PRIVATE glyphfall_game)
set_target_properties(glyphfall-web PROPERTIES OUTPUT_NAME glyphfall SUFFIX .js)
add_dependencies(glyphfall-web web_data)
set_property(TARGET glyphfall-web APPEND PROPERTY LINK_DEPENDS ${WEB_DATA_FILES})
# The screen loops block; each frame yields to the browser and comes back.
set(WEB_ASYNCIFY -sASYNCIFY=1 -sASYNCIFY_STACK_SIZE=65536)
target_link_options(glyphfall-web PRIVATE ${WEB_ASYNCIFY}
  -sALLOW_MEMORY_GROWTH=1 -sINITIAL_MEMORY=33554432
  -sENVIRONMENT=web -sFORCE_FILESYSTEM=1 -lidbfs.js
  "-sEXPORTED_FUNCTIONS=[_main,_glyphfall_score,_glyphfall_screen]"
  --preload-file ${WEB_DATA}@/game)

foreach(page index.html glyphfall-page.js)
  configure_file(src/platform/web/page/${page} ${CMAKE_BINARY_DIR}/${page} COPYONLY)
endforeach()

# The busy wave's frame timed in the page (bench.html), to compare with the
# same program built natively; linked as the game is, so that it pays what
# the game pays for yielding.
add_executable(glyphfall-composetime bench/web/ComposeTime.cpp)
target_include_directories(glyphfall-composetime PRIVATE bench)
target_link_libraries(glyphfall-composetime PRIVATE glyphfall_game)
add_dependencies(glyphfall-composetime web_data)
target_link_options(glyphfall-composetime PRIVATE ${WEB_ASYNCIFY} -sENVIRONMENT=web -sALLOW_MEMORY_GROWTH=1 -sINITIAL_MEMORY=33554432
  --preload-file ${WEB_DATA}/wordsenglish.txt@/game/wordsenglish.txt)
set_target_properties(glyphfall-composetime PROPERTIES SUFFIX .js)
configure_file(src/platform/web/page/bench.html ${CMAKE_BINARY_DIR}/bench.html COPYONLY)
