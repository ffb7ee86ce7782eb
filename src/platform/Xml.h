// A small DOM document: load a file, walk its elements, build a document and
// save it. The parser underneath stays inside Xml.cpp; game code sees only
// these types. Failures are thrown as EXmlError with a readable message.
#pragma once
#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

#include "platform/Application.h"

namespace pugi {
struct xml_node_struct;
class xml_document;
}  // namespace pugi

class EXmlError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The file could be read but is not a well-formed document (or is too big to
// be one of ours). Kept apart from EXmlError's I/O failures so that callers
// can tell a damaged file from one they could not open.
class EXmlParseError : public EXmlError {
 public:
  using EXmlError::EXmlError;
};

// A handle on one node of a TXmlDocument; valid while the document lives and
// the node is in it. A default handle is the null node: every query on it
// answers empty, null or 0.
class TXmlNode {
 public:
  TXmlNode() = default;

  explicit operator bool() const { return node_ != nullptr; }
  bool IsElement() const;
  // The element's name; empty for text and for the null node.
  std::string NodeName() const;

  // Child nodes of every kind (elements and text) in document order.
  int ChildCount() const;
  // The child at index, or the null node when index is out of range.
  TXmlNode ChildNodes(int index) const;
  // Walking the children in order without the cost of indexing.
  TXmlNode FirstChild() const;
  TXmlNode NextSibling() const;
  // The first child element called name, or the null node.
  TXmlNode ChildElement(std::string_view name) const;
  // Appends a new empty child element and returns it.
  TXmlNode AddChild(std::string_view name);

  // The element's own text: its text and CDATA children joined, without the
  // text of nested elements.
  std::string Text() const;
  // Replaces the element's children with one text node (none when empty).
  void SetText(std::string_view text);

  friend bool operator==(const TXmlNode&, const TXmlNode&) = default;

 private:
  friend class TXmlDocument;
  explicit TXmlNode(pugi::xml_node_struct* node) : node_(node) {}
  pugi::xml_node_struct* node_ = nullptr;
};

class TXmlDocument : public TComponent {
 public:
  explicit TXmlDocument(TComponent* owner);
  ~TXmlDocument() override;

  // Files larger than this are refused as damaged instead of being read whole.
  size_t MaxFileSize = 1 << 20;
  // The file the document was last loaded from or saved to.
  std::string FileName;

  // Replaces the content with the file's. Throws EXmlError when the file
  // cannot be read (a FIFO, a device or a socket included), EXmlParseError when it is not one well-formed document
  // with exactly one root element.
  void LoadFromFile(const std::string& path);
  void LoadFromString(std::string_view text);
  // Writes the document without declaration or indentation, replacing the
  // file in one step (WriteFileAtomically): on any failure, or a crash
  // midway, the old file at path stays as it was.
  void SaveToFile(const std::string& path);
  std::string SaveToString() const;

  // Empties the document.
  void Clear();
  // The root element, or the null node when there is none.
  TXmlNode DocumentElement() const;
  // Adds the root element; throws EXmlError when there is one already.
  TXmlNode CreateDocumentElement(std::string_view name);

 private:
  void CheckWellFormed(const char* what);
  pugi::xml_document* doc_;
};
