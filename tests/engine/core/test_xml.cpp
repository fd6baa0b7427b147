// XML documents: lookups, ordering, text conversions and the message of a malformed document.

#include <gtest/gtest.h>

#include <string>

#include "engine/core/ErrorCallStack.h"
#include "engine/core/cXmlNode.h"
#include "tests/engine/core/test_file_env.h"

namespace {

using file_test::utf16;

std::unique_ptr<cXmlNode> parse(const std::wstring& text) {
    std::string bytes = utf16(text);
    return cXmlNode::fromBytes(bytes.data(), bytes.size(), "doc.xml", 7);
}

const wchar_t* const kPack =
    L"<?xml version=\"1.0\" encoding=\"UTF-16\"?>\r\n"
    L"<Pack b=\"2\" a=\"1\" count_levels=\"2\">\r\n"
    L"  <Level_2 id=\"second\" mode=\"x\"><value>  12</value></Level_2>\r\n"
    L"  <Level_10 id=\"tenth\"/>\r\n"
    L"  <Item n=\"first\" mode=\"x\"/>\r\n"
    L"  <Item n=\"second\" mode=\"y\"/>\r\n"
    L"  <Item n=\"third\" mode=\"x\">text</Item>\r\n"
    L"</Pack>\r\n";

TEST(XmlDocument, RootAttributesChildrenAndOrder) {
    auto doc = parse(kPack);
    EXPECT_EQ(doc->getName(), "doc.xml");
    EXPECT_EQ(doc->getAttribute(L"a").str(), L"1");
    EXPECT_EQ(doc->getAttribute(cStringW(L"b")).str(), L"2");
    EXPECT_EQ(doc->getAttribute(L"missing").str(), L"");
    EXPECT_EQ(doc->getAttributeCount(), 3);
    ASSERT_NE(doc->getAttributeAt(0), nullptr);
    EXPECT_EQ(doc->getAttributeAt(0)->first.str(), L"a");  // name order
    EXPECT_EQ(doc->getAttributeAt(2)->first.str(), L"count_levels");
    EXPECT_EQ(doc->getAttributeAt(3), nullptr);

    EXPECT_EQ(doc->getChildCount(), 5);
    EXPECT_EQ(doc->countChildren("Level_2"), 1);
    EXPECT_EQ(doc->countChildren("Level_10"), 1);
    EXPECT_EQ(doc->countChildren("level_2"), 0);
    const cXmlNode* child = nullptr;
    cStringA name;
    ASSERT_TRUE(doc->getChildAt(0, child, &name));
    EXPECT_EQ(name, "Item");  // byte order: "I" < "L", "Level_10" < "Level_2"
    ASSERT_TRUE(doc->getChildAt(3, child, &name));
    EXPECT_EQ(name, "Level_10");
    EXPECT_EQ(child->getAttribute(L"id").str(), L"tenth");
    EXPECT_EQ(child->getGroup(), 7);
    EXPECT_FALSE(doc->getChildAt(5, child, &name));
    EXPECT_FALSE(child->getChildAt(0, child));

    cXmlNode::NodeList items;
    EXPECT_EQ(doc->getChildren("Item", items), 3);
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0]->getAttribute(L"n").str(), L"first");  // document order
    EXPECT_EQ(items[2]->getAttribute(L"n").str(), L"third");
    EXPECT_EQ(doc->getChildren("Item", items), 3);
    EXPECT_EQ(items.size(), 6u);  // appended, not emptied

    cXmlNode::NodeList filtered;
    EXPECT_EQ(doc->getChildrenWith("Item", {{L"mode", L"x"}}, filtered), 0);
    ASSERT_EQ(filtered.size(), 2u);
    EXPECT_EQ(filtered[1]->getAttribute(L"n").str(), L"third");
    filtered.clear();
    doc->getChildrenWith("Item", {}, filtered);
    EXPECT_EQ(filtered.size(), 3u);
    filtered.clear();
    doc->getChildrenWith("Item", {{L"mode", L"X"}}, filtered);
    EXPECT_TRUE(filtered.empty());

    const cXmlNode* first = nullptr;
    ASSERT_TRUE(doc->getChild("Item", first));
    EXPECT_EQ(first->getAttribute(L"n").str(), L"first");
    const cXmlNode* untouched = first;
    EXPECT_FALSE(doc->getChild("Nothing", untouched));
    EXPECT_EQ(untouched, first);
}

TEST(XmlDocument, TextKeepsLineBreaksAndConvertsLikeAStream) {
    auto doc = parse(kPack);
    EXPECT_NE(doc->getText().find(L"\n  "), std::wstring::npos);
    const cXmlNode* level = nullptr;
    ASSERT_TRUE(doc->getChild("Level_2", level));
    int number = -1;
    EXPECT_TRUE(level->getChildInt("value", number));
    EXPECT_EQ(number, 12);

    int kept = 5;
    EXPECT_FALSE(level->getChildInt("missing", kept));
    EXPECT_EQ(kept, 5);
    const cXmlNode* item = nullptr;
    doc->getChildAt(2, item);
    EXPECT_EQ(item->getText().str(), L"text");
    EXPECT_EQ(item->getTextInt(), 0);  // a word without digits
    EXPECT_FALSE(item->getTextBool());

    auto values = parse(
        L"<r><f> 2.5x</f><d>-1e3</d><u>4000000000</u><l>-7</l><i64>-9000000000</i64><b>1</b><b0>0</b0>"
        L"<v>3.5,-2</v><c>FF804020</c><bad>zz</bad><s>h\x00e9llo \x0416</s></r>");
    float f = 0;
    double d = 0;
    uint32_t u = 0;
    int32_t l = 0;
    int64_t big = 0;
    bool b = false, b0 = true;
    cVector2 v;
    cXmlColor c;
    cStringW wide;
    cStringA narrow;
    EXPECT_TRUE(values->getChildFloat("f", f));
    EXPECT_FLOAT_EQ(f, 2.5f);
    EXPECT_TRUE(values->getChildDouble("d", d));
    EXPECT_DOUBLE_EQ(d, -1000.0);
    EXPECT_TRUE(values->getChildULong("u", u));
    EXPECT_EQ(u, 4000000000u);
    EXPECT_TRUE(values->getChildLong("l", l));
    EXPECT_EQ(l, -7);
    EXPECT_TRUE(values->getChildInt64("i64", big));
    EXPECT_EQ(big, -9000000000LL);
    EXPECT_TRUE(values->getChildBool("b", b));
    EXPECT_TRUE(b);
    EXPECT_TRUE(values->getChildBool("b0", b0));
    EXPECT_FALSE(b0);
    EXPECT_TRUE(values->getChildVector("v", v));
    EXPECT_FLOAT_EQ(v.x, 3.5f);
    EXPECT_FLOAT_EQ(v.y, -2.0f);
    EXPECT_TRUE(values->getChildColor("c", c));
    EXPECT_NEAR(c.r, 0.502f, 0.0005f);
    EXPECT_NEAR(c.g, 0.251f, 0.0005f);
    EXPECT_NEAR(c.b, 0.125f, 0.0005f);
    EXPECT_FLOAT_EQ(c.a, 1.0f);
    EXPECT_TRUE(values->getChildColor("bad", c));
    EXPECT_EQ(c.r + c.g + c.b + c.a, 0.0f);
    EXPECT_TRUE(values->getChildText("s", wide));
    EXPECT_EQ(wide.str(), L"h\x00e9llo \x0416");
    EXPECT_TRUE(values->getChildString("s", narrow));
    EXPECT_EQ(narrow, "h\xe9llo ?");
    const cXmlNode* bad = nullptr;
    values->getChild("bad", bad);
    EXPECT_FLOAT_EQ(bad->getTextFloat(), 0.0f);
    EXPECT_EQ(bad->getTextULong(), 0u);
    EXPECT_EQ(bad->getTextVector().x, 0.0f);
}

TEST(XmlDocument, LongElementNamesConvertWhole) {
    std::wstring longName(600, L'n');
    longName += L"_end";
    auto doc = parse(L"<r><" + longName + L" a=\"1\"/></r>");
    cStringA narrow(std::string(600, 'n') + "_end");
    EXPECT_EQ(doc->countChildren(narrow), 1);
}

TEST(XmlDocument, MalformedDocumentThrowsExpatTextWithLineAndColumn) {
    try {
        parse(L"<r>\r\n  <a></b>\r\n</r>");
        FAIL() << "a malformed document was accepted";
    } catch (const cStringA& text) {
        EXPECT_EQ(text, "mismatched tag line 2 char 7");
        EXPECT_EQ(getErrorCallStack(), text);
    }
    for (const wchar_t* broken : {L"", L"<r>", L"<r a=\"1\" a=\"2\"/>", L"<r></r><s/>", L"text"})
        EXPECT_THROW(parse(broken), cStringA) << cStringW(broken).toNarrow();
    std::string notUtf16 = "<r/>";  // UTF-8 bytes read as UTF-16
    EXPECT_THROW(cXmlNode::fromBytes(notUtf16.data(), notUtf16.size()), cStringA);
}

TEST(XmlDocument, DeepNestingLoadsAndFreesWithoutRecursion) {
    std::wstring text;
    const int depth = 20000;
    for (int i = 0; i < depth; ++i) text += L"<a>";
    for (int i = 0; i < depth; ++i) text += L"</a>";
    auto doc = parse(text);
    const cXmlNode* node = doc.get();
    int levels = 0;
    while (node->getChild("a", node)) ++levels;
    EXPECT_EQ(levels, depth - 1);
}

}  // namespace
