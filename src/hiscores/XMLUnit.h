// The game's XML wrapper: a document with a root name of its own and the
// opening rule that places bare file names in the XML folder.
#pragma once
#include <cstddef>
#include <memory>
#include <string>

#include "platform/Xml.h"

// Put between the program's folder and a bare file name. The game form
// empties it before anything is loaded, so its files sit beside the program.
extern std::string DefaultXMLFolder;

class TXML : public TXmlDocument {
 public:
  explicit TXML(TComponent* owner);
  std::string RootName = "root";

  // Adds the root element, named RootName.
  TXmlNode CreateRoot();
};

// The full path OpenXML uses for fileName: a bare name goes into the program's
// folder (the current directory, which the program makes its own folder at
// start) under DefaultXMLFolder. Creates the folders on the way.
std::string XMLPath(const std::string& fileName);

// A new document owned by the application and freed by the caller. An empty
// name gives a document with just its root; otherwise the file is loaded when
// it exists (EXmlError when it cannot be read, EXmlParseError when it is not
// well-formed, or larger than maxFileSize), and a missing file gives an empty
// document without a root.
std::unique_ptr<TXML> OpenXML(const std::string& fileName, size_t maxFileSize = 1 << 20);
