// A small XML document wrapper for the game's one XML file.
#pragma once
#include <string>

// Put between the program's folder and a bare file name; the game empties it.
extern std::string DefaultXMLFolder;
