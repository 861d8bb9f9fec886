#include "runtime/form_resource.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace rt {
namespace {

TFormValue V(auto value) { return TFormValue{value}; }

// One of everything, with the values at the edges of their kinds.
TFormObject Sample() {
  TFormObject root{"TfmMain", "fmMain", {}, {}};
  root.Properties = {
      {"Left", V(int64_t{208})},
      {"Min", V(std::numeric_limits<int64_t>::min())},
      {"Max", V(std::numeric_limits<int64_t>::max())},
      {"Scale", V(-0.0)},
      {"Ratio", V(1.0 / 3)},
      {"Caption", V(WideString(u"Instalación\r\U0001F600", 14))},
      {"Blank", V(WideString())},
      {"Zero", V(WideString(u"a\0b", 3))},
      {"Color", V(TFormIdent{"clBtnFace"})},
      {"BorderIcons", V(TFormSet{{"biSystemMenu", "biMinimize", "biMaximize"}})},
      {"NoIcons", V(TFormSet{})},
      {"Picture.Data", V(TFormBinary{{0x42, 0x4D, 0x00, 0xFF}})},
      {"Nothing", V(TFormBinary{})},
      {"Lines", V(TFormList{{V(WideString(u"one")), V(TFormList{{V(int64_t{2})}}), V(TFormList{})}})},
  };
  TFormObject panel{"TPanel", "Panel1", {{"Align", V(TFormIdent{"alClient"})}}, {}};
  panel.Children.push_back({"TLabel", "Label1", {}, {}});
  root.Children = {panel,
                   {"TZipArchiver", "Archiver", {{"Options.ShareMode", V(TFormIdent{"smShareCompat"})}}, {}}};
  return root;
}

std::string MessageOf(std::span<const uint8_t> bytes) {
  try {
    ReadFormResource(bytes);
  } catch (const EFormResourceError& e) {
    return e.what();
  }
  return "read without error";
}

TEST(FormResource, RoundTripKeepsEveryValueAndTheBytes) {
  const std::vector<uint8_t> bytes = WriteFormResource(Sample());
  const TFormObject read = ReadFormResource(bytes);
  EXPECT_EQ(read, Sample());
  EXPECT_TRUE(std::signbit(std::get<double>(read.Properties[3].Value.Value)));
  EXPECT_EQ(WriteFormResource(read), bytes);
}

TEST(FormResource, LayoutOfASmallForm) {
  constexpr uint8_t kExpected[] = {
      'Q', 'F', 'R', 'M', 1, 0, 0, 0,           // signature, version, reserved
      1, 'T', 1, 'f',                           // class, name
      1, 0, 0, 0,                               // one property
      1, 'A', 3, 2, 0, 0, 0, 'h', 0, 0x3A, 0x26,  // A = 'h' U+263A
      1, 0, 0, 0,                               // one child
      1, 'U', 1, 'g', 0, 0, 0, 0, 0, 0, 0, 0,   // g: U, empty
  };
  static_assert(sizeof kExpected == 43);
  TFormObject root{"T", "f", {{"A", V(WideString(u"h\u263A"))}}, {{"U", "g", {}, {}}}};
  EXPECT_EQ(WriteFormResource(root), std::vector<uint8_t>(std::begin(kExpected), std::end(kExpected)));
}

TEST(FormResource, EveryTruncationIsAnErrorAtOrBeforeTheCut) {
  const std::vector<uint8_t> bytes = WriteFormResource(Sample());
  for (size_t cut = 0; cut < bytes.size(); ++cut) {
    try {
      ReadFormResource(std::span(bytes.data(), cut));
      ADD_FAILURE() << "read a resource cut at " << cut;
    } catch (const EFormResourceError& e) {
      EXPECT_LE(e.Offset(), cut) << e.what();
    }
  }
}

// A resource whose root object has one property A with the given value
// bytes (kind and payload), and no children.
std::vector<uint8_t> WithValue(std::vector<uint8_t> value) {
  std::vector<uint8_t> out = {'Q', 'F', 'R', 'M', 1, 0, 0, 0, 1, 'T', 1, 'f', 1, 0, 0, 0, 1, 'A'};
  out.insert(out.end(), value.begin(), value.end());
  out.insert(out.end(), {0, 0, 0, 0});
  return out;
}

struct BadResource {
  const char* label;
  std::vector<uint8_t> bytes;
  const char* says;
};

class FormResourceErrors : public testing::TestWithParam<BadResource> {};

TEST_P(FormResourceErrors, AreReadErrorsThatSayWhatAndWhere) {
  EXPECT_NE(MessageOf(GetParam().bytes).find(GetParam().says), std::string::npos)
      << MessageOf(GetParam().bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FormResourceErrors,
    testing::Values(
        BadResource{"empty", {}, "octet 0 : données tronquées (4 octets attendus, 0 restants)"},
        BadResource{"magic", {'Q', 'F', 'R', 'X', 1, 0, 0, 0}, "octet 0 : signature \"QFRM\" absente"},
        BadResource{"version", {'Q', 'F', 'R', 'M', 2, 0, 0, 0}, "octet 4 : version 2 non prise en charge"},
        BadResource{"reserved", {'Q', 'F', 'R', 'M', 1, 0, 0, 1}, "octet 6 : champ réservé non nul"},
        BadResource{"empty name", {'Q', 'F', 'R', 'M', 1, 0, 0, 0, 0}, "octet 8 : nom vide"},
        BadResource{"name", {'Q', 'F', 'R', 'M', 1, 0, 0, 0, 2, '1', 'T'}, "octet 8 : nom \"1T\" invalide"},
        BadResource{"dotted class", {'Q', 'F', 'R', 'M', 1, 0, 0, 0, 3, 'T', '.', 'U'},
                    "nom \"T.U\" invalide"},
        BadResource{"control name", {'Q', 'F', 'R', 'M', 1, 0, 0, 0, 2, 'T', 0x07}, "nom \"T?\" invalide"},
        BadResource{"properties",
                    {'Q', 'F', 'R', 'M', 1, 0, 0, 0, 1, 'T', 1, 'f', 0xFF, 0xFF, 0xFF, 0xFF},
                    "octet 12 : trop de propriétés : 4294967295 (au plus 4096, 0 octets restants)"},
        BadResource{"children over remaining",
                    {'Q', 'F', 'R', 'M', 1, 0, 0, 0, 1, 'T', 1, 'f', 0, 0, 0, 0, 9, 0, 0, 0, 1, 'U'},
                    "octet 16 : trop de composants : 9 (au plus 4096, 2 octets restants)"},
        BadResource{"kind", WithValue({0x08}), "octet 18 : type de valeur 8 inconnu"},
        BadResource{"huge string", WithValue({3, 0xFF, 0xFF, 0xFF, 0xFF}),
                    "octet 19 : chaîne de 4294967295 caractères pour 4 octets restants"},
        BadResource{"odd string", WithValue({3, 5, 0, 0, 0, 'a', 0, 'b', 0, 'c'}),
                    "chaîne de 5 caractères pour 9 octets restants"},
        BadResource{"huge binary", WithValue({6, 0xFF, 0xFF, 0xFF, 0x7F}),
                    "octet 19 : données binaires de 2147483647 octets pour 4 restants"},
        BadResource{"set", WithValue({5, 0, 4, 0, 0}), "trop de membres d'ensemble : 1024 (au plus 1024"},
        BadResource{"list", WithValue({7, 5, 0, 0, 0}),
                    "trop d'éléments de liste : 5 (au plus 1048576, 4 octets"},
        BadResource{"trailing", [] {
                      auto b = WithValue({4, 1, 'x'});
                      b.push_back(0);
                      return b;
                    }(),
                    "octet 25 : 1 octets inattendus après la fiche"}),
    [](const auto& test) {
      std::string name = test.param.label;
      for (auto& c : name)
        if (c == ' ') c = '_';
      return name;
    });

TEST(FormResource, NestingIsBoundedInBothDirections) {
  // Objects nested one level too deep, written by hand since the writer
  // refuses them.
  std::vector<uint8_t> deep = {'Q', 'F', 'R', 'M', 1, 0, 0, 0};
  for (int i = 0; i <= kFormMaxDepth; ++i) deep.insert(deep.end(), {1, 'T', 1, 'f', 0, 0, 0, 0, 1, 0, 0, 0});
  EXPECT_NE(MessageOf(deep).find("imbrication trop profonde (plus de 32 niveaux)"), std::string::npos);

  // Lists nested far deeper than the limit end at the limit, not in a
  // stack overflow.
  std::vector<uint8_t> lists;
  for (int i = 0; i < 100000; ++i) lists.insert(lists.end(), {7, 1, 0, 0, 0});
  EXPECT_NE(MessageOf(WithValue(lists)).find("imbrication trop profonde"), std::string::npos);

  TFormObject tooDeep{"T", "o", {}, {}};
  for (int i = 0; i < kFormMaxDepth; ++i) tooDeep = TFormObject{"T", "o", {}, {tooDeep}};
  EXPECT_THROW(WriteFormResource(tooDeep), EFormResourceError);
  EXPECT_NO_THROW(ReadFormResource(WriteFormResource(tooDeep.Children[0])));
}

TEST(FormResource, WriterRefusesWhatTheReaderWouldReject) {
  EXPECT_THROW(WriteFormResource({"", "f", {}, {}}), EFormResourceError);
  EXPECT_THROW(WriteFormResource({"T", "f.g", {}, {}}), EFormResourceError);
  EXPECT_THROW(WriteFormResource({"T", std::string(256, 'n'), {}, {}}), EFormResourceError);
  EXPECT_THROW(WriteFormResource({"T", "f", {{"Font..Name", V(int64_t{1})}}, {}}), EFormResourceError);
  EXPECT_THROW(WriteFormResource({"T", "f", {{"A", V(TFormIdent{"not ident"})}}, {}}), EFormResourceError);
  TFormObject many{"T", "f", {}, {}};
  many.Properties.resize(kFormMaxProperties + 1, {"A", V(int64_t{0})});
  EXPECT_THROW(WriteFormResource(many), EFormResourceError);
  EXPECT_NO_THROW(WriteFormResource({"T", std::string(255, 'n'), {}, {}}));
}

TEST(FormResource, IdentifierRules) {
  EXPECT_TRUE(IsFormIdentifier("Panel1", false));
  EXPECT_TRUE(IsFormIdentifier("_x", false));
  EXPECT_TRUE(IsFormIdentifier("Font.Height", true));
  EXPECT_FALSE(IsFormIdentifier("Font.Height", false));
  EXPECT_FALSE(IsFormIdentifier("", true));
  EXPECT_FALSE(IsFormIdentifier("1a", false));
  EXPECT_FALSE(IsFormIdentifier(".a", true));
  EXPECT_FALSE(IsFormIdentifier("a.", true));
  EXPECT_FALSE(IsFormIdentifier("a.1b", true));
  EXPECT_FALSE(IsFormIdentifier("caf\xC3\xA9", false));
}

}  // namespace
}  // namespace rt
