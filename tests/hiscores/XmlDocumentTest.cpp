// The XML document under the high-score file, and OpenXML's placing rules.
#include <gtest/gtest.h>

#include "HiScoreTestSupport.h"
#include "support/InFolder.h"

namespace {

TEST(XmlDocument, WalksElementsAndTheirText) {
  TXmlDocument doc(nullptr);
  doc.LoadFromString("<r>lead<a>x<![CDATA[<y>]]><b>inner</b>z</a><a>2</a></r>");
  TXmlNode root = doc.DocumentElement();
  ASSERT_TRUE(root);
  EXPECT_EQ(root.NodeName(), "r");
  EXPECT_EQ(root.ChildCount(), 3);
  EXPECT_FALSE(root.ChildNodes(0).IsElement());
  EXPECT_EQ(root.ChildNodes(1).Text(), "x<y>z");
  EXPECT_EQ(root.ChildElement("a"), root.ChildNodes(1));
  EXPECT_FALSE(root.ChildNodes(3));
  EXPECT_FALSE(root.ChildNodes(-1));
  EXPECT_FALSE(root.ChildElement("missing"));
  // Queries on the null node answer empty.
  TXmlNode none;
  EXPECT_EQ(none.Text(), "");
  EXPECT_EQ(none.ChildCount(), 0);
  EXPECT_FALSE(none.ChildElement("a"));
  EXPECT_THROW(none.AddChild("a"), EXmlError);
}

TEST(XmlDocument, BuildsAndWritesWithoutDeclarationOrWhitespace) {
  TXmlDocument doc(nullptr);
  TXmlNode root = doc.CreateDocumentElement("root");
  EXPECT_THROW(doc.CreateDocumentElement("again"), EXmlError);
  TXmlNode item = root.AddChild("ITEM");
  item.AddChild("T").SetText("a<&>b");
  item.AddChild("E").SetText("");
  EXPECT_EQ(doc.SaveToString(), "<root><ITEM><T>a&lt;&amp;&gt;b</T><E/></ITEM></root>");
  item.ChildElement("T").SetText("new");
  EXPECT_EQ(item.ChildElement("T").Text(), "new");
}

TEST(XmlDocument, RefusesWhatIsNotOneWellFormedDocument) {
  TXmlDocument doc(nullptr);
  for (const char* bad : {"", "   ", "<a>", "<a></b>", "<a/><b/>", "<a x=1/>", "<?xml version='1.0'?>"})
    EXPECT_THROW(doc.LoadFromString(bad), EXmlParseError) << bad;
  EXPECT_FALSE(doc.DocumentElement());
}

TEST(XmlDocument, DeepNestingIsHandledWithoutRecursion) {
  std::string deep;
  for (int i = 0; i < 200000; ++i) deep += "<a>";
  TXmlDocument doc(nullptr);
  EXPECT_THROW(doc.LoadFromString(deep), EXmlParseError);
  for (int i = 0; i < 200000; ++i) deep += "</a>";
  doc.LoadFromString(deep);
  EXPECT_TRUE(doc.DocumentElement());
}

class OpenXMLFile : public hstest::ScratchFolder {};

TEST_F(OpenXMLFile, PlacesBareNamesInTheXmlFolderAndCreatesIt) {
  InFolder(folder_, [] {
    DefaultXMLFolder = "XML/sub/";
    auto xml = OpenXML("T.XML");
    EXPECT_EQ(xml->FileName, "XML/sub/T.XML");
    EXPECT_FALSE(xml->DocumentElement());  // no file yet: no root either
  });
  EXPECT_TRUE(std::filesystem::is_directory(folder_ + "/XML/sub"));
}

TEST_F(OpenXMLFile, EmptyNameGivesARootAndFilesLoad) {
  auto fresh = OpenXML("");
  EXPECT_EQ(fresh->DocumentElement().NodeName(), "root");
  Write("<x><y>1</y></x>", "T.XML");
  auto loaded = OpenXML(Path("T.XML"));
  EXPECT_EQ(loaded->DocumentElement().ChildElement("y").Text(), "1");
  EXPECT_EQ(loaded->FileName, Path("T.XML"));
  Write("<x>", "T.XML");
  EXPECT_THROW(OpenXML(Path("T.XML")), EXmlParseError);
  Write("<x/>", "BIG.XML");
  EXPECT_THROW(OpenXML(Path("BIG.XML"), 3), EXmlParseError);
}

}  // namespace
