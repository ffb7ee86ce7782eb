// Files compiled into the program (the pictures and the font), looked up by
// their path under assets/, e.g. "pictures/brick.xpm". Empty when unknown.
#pragma once
#include <string_view>

std::string_view EmbeddedAsset(std::string_view name);
