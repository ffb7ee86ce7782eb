#include "platform/Xml.h"

#include <pugixml.hpp>
#include <sstream>

#include "platform/Files.h"

namespace {

pugi::xml_node Node(pugi::xml_node_struct* n) { return pugi::xml_node(n); }

}  // namespace

// ---- TXmlNode ----

bool TXmlNode::IsElement() const { return Node(node_).type() == pugi::node_element; }

std::string TXmlNode::NodeName() const { return IsElement() ? Node(node_).name() : std::string(); }

int TXmlNode::ChildCount() const {
  int count = 0;
  for (pugi::xml_node c = Node(node_).first_child(); c; c = c.next_sibling()) ++count;
  return count;
}

TXmlNode TXmlNode::ChildNodes(int index) const {
  if (index < 0) return TXmlNode();
  pugi::xml_node c = Node(node_).first_child();
  for (; c && index > 0; --index) c = c.next_sibling();
  return TXmlNode(c.internal_object());
}

TXmlNode TXmlNode::FirstChild() const { return TXmlNode(Node(node_).first_child().internal_object()); }

TXmlNode TXmlNode::NextSibling() const { return TXmlNode(Node(node_).next_sibling().internal_object()); }

TXmlNode TXmlNode::ChildElement(std::string_view name) const {
  for (pugi::xml_node c = Node(node_).first_child(); c; c = c.next_sibling())
    if (c.type() == pugi::node_element && name == c.name()) return TXmlNode(c.internal_object());
  return TXmlNode();
}

TXmlNode TXmlNode::AddChild(std::string_view name) {
  if (!node_) throw EXmlError("Cannot add an element to a null node");
  pugi::xml_node c = Node(node_).append_child(pugi::node_element);
  if (!c || !c.set_name(std::string(name).c_str())) throw EXmlError("Cannot add element " + std::string(name));
  return TXmlNode(c.internal_object());
}

std::string TXmlNode::Text() const {
  std::string text;
  for (pugi::xml_node c = Node(node_).first_child(); c; c = c.next_sibling())
    if (c.type() == pugi::node_pcdata || c.type() == pugi::node_cdata) text += c.value();
  return text;
}

void TXmlNode::SetText(std::string_view text) {
  if (!node_) throw EXmlError("Cannot set the text of a null node");
  pugi::xml_node n = Node(node_);
  while (n.first_child()) n.remove_child(n.first_child());
  if (!text.empty()) n.append_child(pugi::node_pcdata).set_value(std::string(text).c_str());
}

// ---- TXmlDocument ----

TXmlDocument::TXmlDocument(TComponent* owner) : TComponent(owner), doc_(new pugi::xml_document) {}

TXmlDocument::~TXmlDocument() {
  BeginDestroy();
  delete doc_;
}

void TXmlDocument::Clear() { doc_->reset(); }

TXmlNode TXmlDocument::DocumentElement() const { return TXmlNode(doc_->document_element().internal_object()); }

TXmlNode TXmlDocument::CreateDocumentElement(std::string_view name) {
  if (doc_->document_element()) throw EXmlError("The document has a root element already");
  return TXmlNode(doc_->internal_object()).AddChild(name);
}

void TXmlDocument::CheckWellFormed(const char* what) {
  int roots = 0;
  for (pugi::xml_node c = doc_->first_child(); c; c = c.next_sibling())
    if (c.type() == pugi::node_element) ++roots;
  if (roots != 1) {
    Clear();
    throw EXmlParseError(std::string(what) + ": " + (roots == 0 ? "no root element" : "more than one root element"));
  }
}

void TXmlDocument::LoadFromString(std::string_view text) {
  Clear();
  pugi::xml_parse_result r = doc_->load_buffer(text.data(), text.size(), pugi::parse_default, pugi::encoding_auto);
  if (!r) {
    Clear();
    throw EXmlParseError(std::string(r.description()) + " at character " + std::to_string(r.offset));
  }
  CheckWellFormed("the document");
}

void TXmlDocument::LoadFromFile(const std::string& path) {
  Clear();
  std::string text;
  bool fits = false;
  try {
    fits = ReadWholeFile(path, MaxFileSize, text);
  } catch (const EFileError& e) {
    throw EXmlError(e.what());
  }
  if (!fits) throw EXmlParseError(path + ": larger than " + std::to_string(MaxFileSize) + " bytes");
  try {
    LoadFromString(text);
  } catch (const EXmlParseError& e) {
    throw EXmlParseError(path + ": " + e.what());
  }
  FileName = path;
}

std::string TXmlDocument::SaveToString() const {
  std::ostringstream out;
  doc_->save(out, "", pugi::format_raw | pugi::format_no_declaration, pugi::encoding_utf8);
  return out.str();
}

void TXmlDocument::SaveToFile(const std::string& path) {
  try {
    WriteFileAtomically(path, SaveToString());
  } catch (const EFileError& e) {
    throw EXmlError(e.what());
  }
  FileName = path;
}
