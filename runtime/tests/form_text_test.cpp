#include "runtime/form_text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "runtime/form_resource.h"

namespace rt {
namespace {

TFormValue V(auto value) { return TFormValue{value}; }

TFormObject Parse(std::string_view text, const FormFileLoader& loader = nullptr) {
  return ParseFormText(text, "test.form", loader);
}

const TFormValue& ValueOf(const TFormObject& object, std::string_view name) {
  for (const auto& p : object.Properties)
    if (p.Name == name) return p.Value;
  throw std::runtime_error("no property " + std::string(name));
}

TEST(FormText, EveryValueKindAndNesting) {
  const TFormObject parsed = Parse(R"(
    // The window.
    fmMain: TfmMain {
      Left = 208
      Offset = -12
      Mask = 0x28BF
      Scale = 1.25
      Tiny = -2.5e-3
      Caption = 'El Quimora'
      Color = clBtnFace
      Font.Style = [fsBold, fsItalic]
      Empty = []
      Lines = ('one', 2, (nested), )
      NoLines = ()
      Data = {hex 42 4d
                  // a comment between the digits
                  00ff}
      Panel1: TPanel {
        Align = alClient
        Label1: TLabel { Caption = 'a' }
      }
      Timer1: TTimer {}
    })");

  TFormObject expected{"TfmMain", "fmMain", {}, {}};
  expected.Properties = {
      {"Left", V(int64_t{208})},
      {"Offset", V(int64_t{-12})},
      {"Mask", V(int64_t{0x28BF})},
      {"Scale", V(1.25)},
      {"Tiny", V(-2.5e-3)},
      {"Caption", V(WideString(u"El Quimora"))},
      {"Color", V(TFormIdent{"clBtnFace"})},
      {"Font.Style", V(TFormSet{{"fsBold", "fsItalic"}})},
      {"Empty", V(TFormSet{})},
      {"Lines",
       V(TFormList{{V(WideString(u"one")), V(int64_t{2}), V(TFormList{{V(TFormIdent{"nested"})}})}})},
      {"NoLines", V(TFormList{})},
      {"Data", V(TFormBinary{{0x42, 0x4D, 0x00, 0xFF}})},
  };
  TFormObject panel{"TPanel", "Panel1", {{"Align", V(TFormIdent{"alClient"})}}, {}};
  panel.Children.push_back({"TLabel", "Label1", {{"Caption", V(WideString(u"a"))}}, {}});
  expected.Children = {panel, {"TTimer", "Timer1", {}, {}}};
  EXPECT_EQ(parsed, expected);

  // The same tree survives the trip through the resource bytes.
  EXPECT_EQ(ReadFormResource(WriteFormResource(parsed)), expected);
}

TEST(FormText, StringsTakeUtf8EscapesAndJoins) {
  const TFormObject o = Parse(
      "f: T {\n"
      "  A = 'Instalaci\xC3\xB3n \xE2\x87\x8C'\n"
      "  B = 'Quimora se instalar\xC3\xA1.\\rPero...' + ' \\'ok\\''\n"
      "  C = '\\t\\n\\\\ \\u{1F600} \\u{d}'\n"
      "  D = ''\n"
      "}");
  EXPECT_EQ(std::get<WideString>(ValueOf(o, "A").Value), u"Instalación ⇌");
  EXPECT_EQ(std::get<WideString>(ValueOf(o, "B").Value), u"Quimora se instalará.\rPero... 'ok'");
  EXPECT_EQ(std::get<WideString>(ValueOf(o, "C").Value), u"\t\n\\ \U0001F600 \r");
  EXPECT_EQ(std::get<WideString>(ValueOf(o, "D").Value), u"");
}

TEST(FormText, IntegersCoverTheWholeSignedRange) {
  const TFormObject o = Parse("f: T { Max = 9223372036854775807 Min = -9223372036854775808 H = -0x10 }");
  EXPECT_EQ(std::get<int64_t>(ValueOf(o, "Max").Value), std::numeric_limits<int64_t>::max());
  EXPECT_EQ(std::get<int64_t>(ValueOf(o, "Min").Value), std::numeric_limits<int64_t>::min());
  EXPECT_EQ(std::get<int64_t>(ValueOf(o, "H").Value), -16);
}

TEST(FormText, FileReferencesGoThroughTheLoader) {
  std::vector<std::string> asked;
  const FormFileLoader loader = [&](const std::string& path) {
    asked.push_back(path);
    if (path == "missing.bmp") throw Exception(u"no such file");
    return std::vector<uint8_t>{1, 2, 3};
  };
  const TFormObject o = Parse("f: T { P = {file 'pictures/side \xC3\xA9.bmp'} }", loader);
  EXPECT_EQ(asked, std::vector<std::string>{"pictures/side \xC3\xA9.bmp"});
  EXPECT_EQ(std::get<TFormBinary>(ValueOf(o, "P").Value).Bytes, (std::vector<uint8_t>{1, 2, 3}));

  try {
    Parse("f: T {\n  P = {file 'missing.bmp'}\n}", loader);
    FAIL() << "no exception";
  } catch (const EFormTextError& e) {
    EXPECT_EQ(e.Message(), u"test.form:2:13: cannot read 'missing.bmp': no such file");
  }
  EXPECT_THROW(Parse("f: T { P = {file 'a.bmp'} }"), EFormTextError);
}

struct BadText {
  const char* text;
  int line;
  int column;
  const char16_t* says;
};

class FormTextErrors : public testing::TestWithParam<BadText> {};

TEST_P(FormTextErrors, NameTheProblemAndWhereItIs) {
  const BadText& bad = GetParam();
  try {
    Parse(bad.text);
    FAIL() << "parsed: " << bad.text;
  } catch (const EFormTextError& e) {
    EXPECT_EQ(e.Line(), bad.line) << e.what();
    EXPECT_EQ(e.Column(), bad.column) << e.what();
    EXPECT_NE(e.Message().find(bad.says), WideString::npos) << e.what();
    EXPECT_EQ(e.Message().rfind(u"test.form:", 0), 0u) << e.what();
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FormTextErrors,
    testing::Values(
        BadText{"", 1, 1, u"expected an object name"},
        BadText{"f: T {\n  A = 1\n", 3, 1, u"object 'f' (1:1) has no closing '}'"},
        BadText{"f: T { A = 1 A = 2 }", 1, 14, u"property 'A' is already set at 1:8"},
        BadText{"f: T { a: U {} b: U { a: V {} } }", 1, 23, u"object 'a' is already declared at 1:8"},
        BadText{"f: T {} g: T {}", 1, 9, u"text after the end of the root object"},
        BadText{"f: T { A 1 }", 1, 10, u"expected '=' after the property name"},
        BadText{"f: T { A = }", 1, 12, u"expected a value, found '}'"},
        BadText{"f: T { A = 'x\n' }", 1, 12, u"string has no closing quote"},
        BadText{"f: T { A = 'a\\qb' }", 1, 14, u"unknown escape"},
        BadText{"f: T { A = '\\u{D800}' }", 1, 13, u"\\u names no character"},
        BadText{"f: T { A = 'a\tb\x01' }", 1, 16, u"U+0001 in a string"},
        BadText{"f: T { \xC3\xA9 = 1 }", 1, 8, u"unexpected character 'é'"},
        BadText{"f: T { A = '\xC3' }", 1, 13, u"malformed UTF-8"},
        BadText{"f: T { A = '\xE0\x80\x80' }", 1, 13, u"malformed UTF-8"},
        BadText{"f: T { A = 12ab }", 1, 12, u"malformed number"},
        BadText{"f: T { A = 9223372036854775808 }", 1, 12, u"number out of range"},
        BadText{"f: T { A = 0x10000000000000000 }", 1, 12, u"number out of range"},
        BadText{"f: T { A = 1e999 }", 1, 12, u"number out of range"},
        BadText{"f: T { A = {hex 4 2 4} }", 1, 21, u"odd number of hex digits"},
        BadText{"f: T { A = {hex 4g} }", 1, 18, u"expected a hex digit or '}'"},
        BadText{"f: T { A = {hex 00", 1, 19, u"hex data has no closing '}'"},
        BadText{"f: T { A = {bytes 00} }", 1, 13, u"expected 'hex' or 'file'"},
        BadText{"f: T { A = [a b] }", 1, 15, u"expected ',' or ']'"},
        BadText{"f: T { A = (1 2) }", 1, 15, u"expected ',' or ')'"},
        BadText{"f: T { A. = 1 }", 1, 11, u"a property name after '.'"}));

TEST(FormText, NestingIsBounded) {
  auto nested = [](int levels) {
    std::string text;
    for (int i = 0; i < levels; ++i) text += "o" + std::to_string(i) + ": T {\n";
    for (int i = 0; i < levels; ++i) text += "}\n";
    return text;
  };
  EXPECT_NO_THROW(Parse(nested(kFormMaxDepth)));
  try {
    Parse(nested(kFormMaxDepth + 1));
    FAIL() << "no exception";
  } catch (const EFormTextError& e) {
    EXPECT_EQ(e.Line(), kFormMaxDepth + 1);
  }
  // Lists count towards the same depth, so a deep value cannot overflow
  // the stack either.
  EXPECT_THROW(Parse("f: T { A = " + std::string(100000, '(') + " }"), EFormTextError);
}

}  // namespace
}  // namespace rt
