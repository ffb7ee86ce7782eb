#include "platform/Xml.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <pugixml.hpp>
#include <sstream>

namespace {

pugi::xml_node Node(pugi::xml_node_struct* n) { return pugi::xml_node(n); }

std::string ErrorText(const std::string& what, const std::string& path, int err) {
  return what + " " + path + ": " + std::strerror(err);
}

// Closes the descriptor on every way out.
struct TFd {
  int fd = -1;
  ~TFd() {
    if (fd >= 0) ::close(fd);
  }
};

void WriteAll(int fd, const std::string& text, const std::string& path) {
  const char* p = text.data();
  size_t left = text.size();
  while (left > 0) {
    ssize_t n = ::write(fd, p, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      throw EXmlError(ErrorText("Could not write", path, errno));
    }
    p += n;
    left -= static_cast<size_t>(n);
  }
}

std::string FolderOf(const std::string& path) {
  size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

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
  TFd f;
  f.fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (f.fd < 0) throw EXmlError(ErrorText("Could not open", path, errno));
  struct stat st {};
  if (::fstat(f.fd, &st) != 0) throw EXmlError(ErrorText("Could not read", path, errno));
  if (!S_ISREG(st.st_mode)) throw EXmlError("Could not read " + path + ": not a regular file");
  if (static_cast<uint64_t>(st.st_size) > MaxFileSize)
    throw EXmlParseError(path + ": larger than " + std::to_string(MaxFileSize) + " bytes");

  // Read at most one byte past the limit, in case the file grows meanwhile.
  std::string text(MaxFileSize + 1, '\0');
  size_t got = 0;
  while (got < text.size()) {
    ssize_t n = ::read(f.fd, text.data() + got, text.size() - got);
    if (n < 0) {
      if (errno == EINTR) continue;
      throw EXmlError(ErrorText("Could not read", path, errno));
    }
    if (n == 0) break;
    got += static_cast<size_t>(n);
  }
  if (got > MaxFileSize) throw EXmlParseError(path + ": larger than " + std::to_string(MaxFileSize) + " bytes");
  text.resize(got);
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
  const std::string text = SaveToString();
  const std::string temp = path + ".tmp";
  {
    TFd f;
    f.fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (f.fd < 0) throw EXmlError(ErrorText("Could not create", temp, errno));
    try {
      WriteAll(f.fd, text, temp);
      if (::fsync(f.fd) != 0) throw EXmlError(ErrorText("Could not write", temp, errno));
    } catch (...) {
      ::unlink(temp.c_str());
      throw;
    }
    int fd = f.fd;
    f.fd = -1;
    if (::close(fd) != 0) {
      int err = errno;
      ::unlink(temp.c_str());
      throw EXmlError(ErrorText("Could not write", temp, err));
    }
  }
  if (::rename(temp.c_str(), path.c_str()) != 0) {
    int err = errno;
    ::unlink(temp.c_str());
    throw EXmlError(ErrorText("Could not replace", path, err));
  }
  // Make the rename itself durable; a failure here loses nothing already on disk.
  TFd dir;
  dir.fd = ::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir.fd >= 0) ::fsync(dir.fd);
  FileName = path;
}
