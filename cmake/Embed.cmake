# Writes OUTPUT, a C++ file holding every file of FILES as a byte array, and
# a lookup by the file's path relative to ROOT.
set(body "")
set(table "")
set(i 0)
foreach(f IN LISTS FILES)
  file(READ ${f} hex HEX)
  string(LENGTH "${hex}" hexlen)
  math(EXPR size "${hexlen} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  file(RELATIVE_PATH rel ${ROOT} ${f})
  string(APPEND body "static const unsigned char asset${i}[] = {${bytes}0};\n")
  string(APPEND table "  {\"${rel}\", asset${i}, ${size}},\n")
  math(EXPR i "${i} + 1")
endforeach()
file(WRITE ${OUTPUT}.tmp "// Generated from the assets folder; do not edit.\n#include <cstddef>\n#include <string_view>\n${body}
namespace {\nstruct Entry { const char* name; const unsigned char* data; size_t size; };\nconst Entry kAssets[] = {\n${table}  {nullptr, nullptr, 0}};\n}  // namespace\n
std::string_view EmbeddedAsset(std::string_view name) {
  for (const Entry* e = kAssets; e->name; ++e)
    if (name == e->name) return std::string_view(reinterpret_cast<const char*>(e->data), e->size);
  return {};
}\n")
file(RENAME ${OUTPUT}.tmp ${OUTPUT})
