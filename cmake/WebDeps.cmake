# The browser build's libraries, compiled to WebAssembly from Debian's source
# packages (fetched by scripts/web-sources into build/web-deps): FreeType and
# pugixml for the game, SQLite for the history. They stand in under the
# target names the native lookups give, so the rest of the build is the same.
set(GLYPHFALL_WEB_DEPS ${CMAKE_SOURCE_DIR}/build/web-deps CACHE PATH "Where scripts/web-sources puts the sources")
set(WEB_SRC ${GLYPHFALL_WEB_DEPS}/src)
if(NOT EXISTS ${WEB_SRC}/freetype.ready OR NOT EXISTS ${WEB_SRC}/pugixml.ready OR NOT EXISTS ${WEB_SRC}/sqlite3.ready)
  execute_process(COMMAND ${CMAKE_SOURCE_DIR}/scripts/web-sources ${GLYPHFALL_WEB_DEPS} RESULT_VARIABLE fetched)
  if(NOT fetched EQUAL 0)
    message(FATAL_ERROR "Could not fetch the source packages for the browser build (scripts/web-sources)")
  endif()
endif()

# FreeType and SQLite are C.
enable_language(C)

# Errors are exceptions in the game; the browser build must catch them too.
add_compile_options(-fexceptions)
add_link_options(-fexceptions)

# No threads in the page: the game has one thread, and a threaded page would
# need cross-origin isolation from every server that hosts it.
add_library(Threads::Threads INTERFACE IMPORTED)

# ---- pugixml: one source file ----
add_library(web_pugixml STATIC ${WEB_SRC}/pugixml/src/pugixml.cpp)
target_include_directories(web_pugixml SYSTEM PUBLIC ${WEB_SRC}/pugixml/src)
add_library(pugixml::pugixml ALIAS web_pugixml)

# ---- FreeType: the modules an OpenType (CFF) font needs, nothing more ----
set(FT ${WEB_SRC}/freetype)
set(FT_MODULES_DIR ${CMAKE_BINARY_DIR}/freetype-config)
file(WRITE ${FT_MODULES_DIR}/ftmodule.h
  "FT_USE_MODULE( FT_Module_Class, psaux_module_class )\n"
  "FT_USE_MODULE( FT_Module_Class, psnames_module_class )\n"
  "FT_USE_MODULE( FT_Module_Class, pshinter_module_class )\n"
  "FT_USE_MODULE( FT_Module_Class, sfnt_module_class )\n"
  "FT_USE_MODULE( FT_Driver_ClassRec, cff_driver_class )\n"
  "FT_USE_MODULE( FT_Driver_ClassRec, tt_driver_class )\n"
  "FT_USE_MODULE( FT_Renderer_Class, ft_smooth_renderer_class )\n"
  "FT_USE_MODULE( FT_Renderer_Class, ft_raster1_renderer_class )\n")
# Its own options, less the compressed-font support (gzip, LZW) no font of
# the game needs.
file(READ ${FT}/include/freetype/config/ftoption.h FT_OPTIONS)
string(REGEX REPLACE "\n#define FT_CONFIG_OPTION_USE_(ZLIB|LZW)" "\n/* not in the browser build: \\1 */" FT_OPTIONS
       "${FT_OPTIONS}")
file(WRITE ${FT_MODULES_DIR}/ftoption.h "${FT_OPTIONS}")
add_library(web_freetype STATIC
  ${FT}/src/base/ftbase.c ${FT}/src/base/ftinit.c ${FT}/src/base/ftsystem.c ${FT}/src/base/ftdebug.c
  ${FT}/src/base/ftbitmap.c ${FT}/src/base/ftglyph.c ${FT}/src/base/ftmm.c
  ${FT}/src/sfnt/sfnt.c ${FT}/src/cff/cff.c ${FT}/src/truetype/truetype.c ${FT}/src/psaux/psaux.c
  ${FT}/src/pshinter/pshinter.c ${FT}/src/psnames/psnames.c ${FT}/src/smooth/smooth.c
  ${FT}/src/raster/raster.c)
target_include_directories(web_freetype SYSTEM PUBLIC ${FT}/include)
target_compile_definitions(web_freetype PRIVATE FT2_BUILD_LIBRARY "FT_CONFIG_MODULES_H=<ftmodule.h>"
                           "FT_CONFIG_OPTIONS_H=<ftoption.h>")
target_include_directories(web_freetype PRIVATE ${FT_MODULES_DIR})
target_compile_options(web_freetype PRIVATE -w)
add_library(PkgConfig::FREETYPE ALIAS web_freetype)

# ---- SQLite: its single-file form, made from the source tree with tclsh ----
set(SQLITE_BUILD ${GLYPHFALL_WEB_DEPS}/sqlite3-amalgamation)
if(NOT EXISTS ${SQLITE_BUILD}/sqlite3.c)
  find_program(TCLSH tclsh REQUIRED)
  file(MAKE_DIRECTORY ${SQLITE_BUILD})
  # The generators run on this machine: configured with its own compiler.
  execute_process(COMMAND env -u CC -u CXX ${WEB_SRC}/sqlite3/configure --disable-tcl
                  WORKING_DIRECTORY ${SQLITE_BUILD} OUTPUT_QUIET RESULT_VARIABLE configured)
  execute_process(COMMAND make sqlite3.c WORKING_DIRECTORY ${SQLITE_BUILD} OUTPUT_QUIET RESULT_VARIABLE made)
  if(NOT configured EQUAL 0 OR NOT made EQUAL 0)
    message(FATAL_ERROR "Could not make sqlite3.c from Debian's SQLite sources (needs tclsh)")
  endif()
endif()
add_library(web_sqlite3 STATIC ${SQLITE_BUILD}/sqlite3.c)
target_include_directories(web_sqlite3 SYSTEM PUBLIC ${SQLITE_BUILD})
target_compile_definitions(web_sqlite3 PRIVATE SQLITE_OMIT_WAL SQLITE_THREADSAFE=0 SQLITE_OMIT_LOAD_EXTENSION SQLITE_DQS=0)
# Kept small: the history is a few rows a game, not worth SQLite's fastest code.
target_compile_options(web_sqlite3 PRIVATE -w -Os)
add_library(PkgConfig::SQLITE3 ALIAS web_sqlite3)
