#include "hiscores/XMLUnit.h"

#include <filesystem>
#include <system_error>

std::string DefaultXMLFolder = "XML/";

TXML::TXML(TComponent* owner) : TXmlDocument(owner) {}

TXmlNode TXML::CreateRoot() { return CreateDocumentElement(RootName); }

std::string XMLPath(const std::string& fileName) {
  namespace fs = std::filesystem;
  fs::path path(fileName);
  if (!path.has_parent_path()) path = fs::path(DefaultXMLFolder) / path;
  if (path.has_parent_path()) {
    std::error_code ec;
    fs::create_directories(path.parent_path(), ec);
    if (ec) throw EXmlError("Could not create the folder " + path.parent_path().string() + ": " + ec.message());
  }
  return path.string();
}

std::unique_ptr<TXML> OpenXML(const std::string& fileName, size_t maxFileSize) {
  auto xml = std::make_unique<TXML>(Application);
  xml->MaxFileSize = maxFileSize;
  if (fileName.empty()) {
    xml->CreateRoot();
    return xml;
  }
  std::string path = XMLPath(fileName);
  std::error_code ec;
  // A file we cannot even look at is read anyway, so the failure has a message.
  if (std::filesystem::exists(path, ec) || ec) xml->LoadFromFile(path);
  xml->FileName = path;
  return xml;
}
