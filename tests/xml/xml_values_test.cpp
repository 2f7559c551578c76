// Typed values through INamedValues, on child elements and on attributes.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "xml/xml_objects.h"
#include "xml_test_platform.h"
#include "xml_test_util.h"

namespace quenlor::xml {
namespace {

class BytesStream final : public IStream {
 public:
  explicit BytesStream(std::vector<unsigned char> bytes = {}) : bytes_(std::move(bytes)) {}
  std::size_t Read(void* buffer, std::size_t count) override {
    const std::size_t n = std::min(count, bytes_.size() - position_);
    std::memcpy(buffer, bytes_.data() + position_, n);
    position_ += n;
    return n;
  }
  std::size_t Write(const void* buffer, std::size_t count) override {
    const auto* p = static_cast<const unsigned char*>(buffer);
    bytes_.insert(bytes_.end(), p, p + count);
    ++writes_;
    return count;
  }
  std::vector<unsigned char> bytes_;
  std::size_t position_ = 0;
  int writes_ = 0;
};

NodePtr NewRoot() { return CreateDocument()->ForceRoot("r"); }

TEST(XmlValues, BooleanReadsAndCanonicalForm) {
  auto root = NewRoot();
  auto values = root->Values();
  values->WriteString("a", "  yes \t");
  EXPECT_TRUE(values->ReadBool("a", false, false));
  EXPECT_EQ(values->ReadString("a", "", false), "yes");
  for (const char* text : {"1", "y", "TRUE", "True"}) {
    values->WriteString("b", text);
    EXPECT_TRUE(values->ReadBool("b", false, false)) << text;
  }
  for (const char* text : {"n", "No", "false"}) {
    values->WriteString("b", text);
    EXPECT_FALSE(values->ReadBool("b", true, false)) << text;
  }
  for (const char* text : {"0", "", "maybe", "2"}) {
    values->WriteString("b", text);
    EXPECT_TRUE(values->ReadBool("b", true, false)) << text;
    EXPECT_FALSE(values->ReadBool("b", false, false)) << text;
  }
  EXPECT_TRUE(values->ReadBool("missing", true, false));
  EXPECT_EQ(root->FindNode("missing"), nullptr);
  EXPECT_TRUE(values->ReadBool("missing", true, true));
  EXPECT_EQ(root->FindNode("missing")->GetText(), "true");
  values->WriteString("c", " YES ");
  values->ReadBool("c", false, true);
  EXPECT_EQ(root->FindNode("c")->GetText(), "true");
  values->WriteBool("d", false);
  EXPECT_EQ(root->FindNode("d")->GetText(), "false");
}

TEST(XmlValues, StringReadsTrimAndWriteBackOnlyDefaults) {
  auto root = NewRoot();
  auto values = root->Values();
  values->WriteString("blank", " \t\r\n ");
  EXPECT_EQ(values->ReadString("blank", "dflt", true), "dflt");
  EXPECT_EQ(root->FindNode("blank")->GetText(), "dflt");
  values->WriteString("text", "  padded  ");
  EXPECT_EQ(values->ReadString("text", "dflt", true), "padded");
  EXPECT_NE(root->GetXml().find("<text>  padded  </text>"), std::string::npos) << "left as it was";
  EXPECT_EQ(root->FindNode("text")->GetText(), "padded") << "element text comes without white space at its ends";
  EXPECT_EQ(values->ReadString("new/path", "", true), "");
  EXPECT_NE(root->FindNode("new/path"), nullptr);
  EXPECT_EQ(values->ReadString("other", "x", false), "x");
  EXPECT_EQ(root->FindNode("other"), nullptr);
  // A name is an XPath expression for unforced reads.
  EXPECT_EQ(values->ReadString("*[1]", "", false), "dflt");
  auto attributes = root->Attributes()->Values();
  attributes->WriteString("k", "  v  ");
  EXPECT_EQ(attributes->ReadString("k", "", false), "v");
  EXPECT_EQ(attributes->ReadVariant("k").text, "v");
  attributes->WriteString("k", "  v  ");
  EXPECT_EQ(root->FindAttribute("k")->GetText(), "  v  ") << "attribute values keep theirs";
  EXPECT_EQ(values->ReadVariant("text").text, "padded");
  EXPECT_EQ(values->ReadVariant("text").vt, VT_BSTR_);
  EXPECT_EQ(values->ReadVariant("created").text, "");
  EXPECT_NE(root->FindNode("created"), nullptr);
}

TEST(XmlValues, IntegersAndFloats) {
  auto root = NewRoot();
  auto values = root->Values();
  values->WriteInteger("i", -2147483647 - 1);
  EXPECT_EQ(root->FindNode("i")->GetText(), "-2147483648");
  EXPECT_EQ(values->ReadInteger("i", 0, false), -2147483647 - 1);
  values->WriteString("i", " 42 ");
  EXPECT_EQ(values->ReadInteger("i", 0, true), 42);
  EXPECT_EQ(root->FindNode("i")->GetText(), "42");
  for (const char* bad : {"", "4x", "2147483648", "1.5", "--1"}) {
    values->WriteString("i", bad);
    EXPECT_EQ(values->ReadInteger("i", 7, false), 7) << bad;
  }
  EXPECT_EQ(values->ReadInteger("none", 9, true), 9);
  EXPECT_EQ(root->FindNode("none")->GetText(), "9");

  const struct {
    double value;
    const char* text;
  } floats[] = {{0, "0"},         {1.5, "1.5"},     {-0.25, "-0.25"},  {100, "100"},
                {0.1, "0.1"},     {1e15, "1E15"},   {123456789012345.0, "123456789012345"},
                {0.0001, "0.0001"}, {0.00001, "1E-5"}, {1.0 / 3, "0.333333333333333"}, {2.5e-300, "2.5E-300"}};
  for (const auto& f : floats) {
    values->WriteFloat("f", f.value);
    EXPECT_EQ(root->FindNode("f")->GetText(), f.text);
    const double read = values->ReadFloat("f", -1, false);
    EXPECT_NEAR(read, f.value, std::abs(f.value) * 1e-14) << f.text;
  }
  values->WriteString("f", "abc");
  EXPECT_EQ(values->ReadFloat("f", 3.5, true), 3.5);
  EXPECT_EQ(root->FindNode("f")->GetText(), "3.5");
}

// Dates follow the user's locale. The suite expects English (United States) forms, which the
// Linux build always uses and which Wine's default prefix and an en-US Windows give.
TEST(XmlValues, DatesAndTimes) {
  auto root = NewRoot();
  auto values = root->Values();
  const DateTime date = 45292;  // 2024-01-01
  const DateTime afternoon = 45292 + (15 * 3600 + 4 * 60 + 5) / 86400.0;
  values->WriteDate("d", afternoon);
  EXPECT_EQ(root->FindNode("d")->GetText(), "1/1/2024");
  EXPECT_EQ(values->ReadDate("d", 0, false), date);
  values->WriteTime("t", afternoon);
  EXPECT_EQ(root->FindNode("t")->GetText(), "3:04:05 PM");
  EXPECT_NEAR(values->ReadTime("t", 0, false), afternoon - date, 1e-9);
  values->WriteDateTime("dt", afternoon);
  EXPECT_EQ(root->FindNode("dt")->GetText(), "1/1/2024 3:04:05 PM");
  EXPECT_NEAR(values->ReadDateTime("dt", 0, false), afternoon, 1e-9);
  values->WriteDateTime("midnight", date);
  EXPECT_EQ(root->FindNode("midnight")->GetText(), "1/1/2024");
  values->WriteTime("am", 0.25);
  EXPECT_EQ(root->FindNode("am")->GetText(), "6:00:00 AM");
  values->WriteDate("old", 2.0);
  EXPECT_EQ(root->FindNode("old")->GetText(), "1/1/1900");
  for (const char* bad : {"", "soon", "13/45/2024", "2/30/2023"}) {
    values->WriteString("bad", bad);
    EXPECT_EQ(values->ReadDate("bad", 1.0, false), 1.0) << bad;
  }
  EXPECT_EQ(values->ReadDateTime("bad", 2.0, true), 2.0);
  EXPECT_EQ(root->FindNode("bad")->GetText(), "1/1/1900");
  EXPECT_EQ(values->ReadTime("missing", 0.5, true), 0.5);
  EXPECT_EQ(root->FindNode("missing")->GetText(), "12:00:00 PM");
}

TEST(XmlValues, BinaryAsUpperCaseHex) {
  auto root = NewRoot();
  auto values = root->Values();
  std::vector<unsigned char> bytes;
  for (int i = 0; i < 600; ++i) bytes.push_back(static_cast<unsigned char>(i * 7));
  BytesStream source(bytes);
  values->WriteBinary("bin", source);
  const std::string text = root->FindNode("bin")->GetText();
  ASSERT_EQ(text.size(), 1200u);
  EXPECT_EQ(text.substr(0, 8), "00070E15");
  EXPECT_EQ(text.find_first_of("abcdef"), std::string::npos);
  BytesStream target;
  values->ReadBinary("bin", target);
  EXPECT_EQ(target.bytes_, bytes);
  EXPECT_EQ(target.writes_, 1);
  values->WriteString("lower", "0aff");
  BytesStream lower;
  values->ReadBinary("lower", lower);
  EXPECT_EQ(lower.bytes_, (std::vector<unsigned char>{0x0A, 0xFF}));
  BytesStream none;
  values->ReadBinary("absent", none);
  EXPECT_EQ(none.writes_, 0);
  EXPECT_NE(root->FindNode("absent"), nullptr) << "created when missing";
  BytesStream exact(std::vector<unsigned char>(256, 1));
  values->WriteBinary("exact", exact);
  EXPECT_EQ(root->FindNode("exact")->GetText().size(), 512u);
  // Attribute lists hold no binary values.
  BytesStream ignored(bytes);
  root->Attributes()->Values()->WriteBinary("b", ignored);
  EXPECT_EQ(root->Attributes()->Count(), 0);
}

TEST(XmlValues, VariantsAsText) {
  auto root = NewRoot();
  auto values = root->Values();
  auto text_of = [&](const Variant& v) {
    values->WriteVariant("v", v);
    return root->FindNode("v")->GetText();
  };
  EXPECT_EQ(text_of(Variant::Int(-5)), "-5");
  EXPECT_EQ(text_of(Variant::Int(-1, VT_UI4_)), "4294967295");
  EXPECT_EQ(text_of(Variant::Real(2.5)), "2.5");
  EXPECT_EQ(text_of(Variant::String("s")), "s");
  EXPECT_EQ(text_of(Variant::Null()), "");
  EXPECT_EQ(text_of(Variant::Empty()), "");
  EXPECT_EQ(text_of(Variant::Bool(true)), "True");
  EXPECT_EQ(text_of(Variant::Bool(false)), "False");
  EXPECT_EQ(text_of(Variant::Currency(125000)), "12.5");
  EXPECT_EQ(text_of(Variant::Currency(-10000)), "-1");
  EXPECT_EQ(text_of(Variant::Date(45292)), "1/1/2024");
  EXPECT_EQ(text_of(Variant::Date(45292.75)), "1/1/2024 6:00:00 PM");
  EXPECT_EQ(text_of(Variant::Date(0.5)), "12:00:00 PM");
  Variant decimal;
  decimal.vt = VT_DECIMAL_;
  decimal.decimal.lo64 = 12345;
  decimal.decimal.scale = 2;
  decimal.decimal.sign = 0x80;
  EXPECT_EQ(text_of(decimal), "-123.45");
}

}  // namespace
}  // namespace quenlor::xml
