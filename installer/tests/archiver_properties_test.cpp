#include "installer/archiver_properties.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "runtime/form_binder.h"
#include "runtime/form_text.h"
#include "runtime/published.h"
#include "zip/zip_archiver.h"

namespace installer {
namespace {

using rt::TFormIdent;
using rt::TFormObject;
using rt::TFormProperty;
using rt::TFormValue;

// A form that holds an archiver, as the installer's main form does.
class THostForm : public rt::TComponent {
 public:
  using rt::TComponent::TComponent;
  rt::WideString ClassName() const override { return u"THostForm"; }
  zip::TZipArchiver* Archiver = nullptr;
  void ArchiverFailure(rt::TObject*, const rt::WideString&, zip::TZipProcessOperation, int32_t, int32_t,
                       const rt::WideString&, zip::TZipAction& action) {
    action = zip::fxaAbort;
  }
};

TFormValue Ident(const char* name) { return {TFormIdent{name}}; }

// The values the installer's form stores for its archiver.
TFormObject StoredHost() {
  TFormObject archiver{"TZipArchiver", "Archiver",
                       {{"ExtractCorruptedFiles", Ident("False")},
                        {"CompressionLevel", Ident("clMax")},
                        {"CompressionMode", {int64_t{9}}},
                        {"CurrentVersion", {rt::WideString(u"3.02 ")}},
                        {"SpanningMode", Ident("smNone")},
                        {"SpanningOptions.AdvancedNaming", Ident("True")},
                        {"SpanningOptions.VolumeSize", Ident("vsAutoDetect")},
                        {"Options.ShareMode", Ident("smShareCompat")},
                        {"Options.FlushBuffers", Ident("True")},
                        {"Options.OEMFileNames", Ident("True")},
                        {"InMemory", Ident("False")},
                        {"Zip64Mode", Ident("zmDisabled")},
                        {"UnicodeFilenames", Ident("True")}},
                       {}};
  return {"THostForm", "fmHost", {}, {archiver}};
}

class ArchiverProperties : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterArchiverProperties();
    rt::PublishClass<THostForm>("THostForm", "TComponent")
        .Field("Archiver", &THostForm::Archiver)
        .Handler("ArchiverFailure", &THostForm::ArchiverFailure);
  }
};

TEST_F(ArchiverProperties, TheStoredFormConfiguresTheArchiver) {
  THostForm form(nullptr);
  rt::CreateFormFromData(StoredHost(), form);
  ASSERT_NE(form.Archiver, nullptr);
  const zip::TZipArchiver& a = *form.Archiver;
  EXPECT_EQ(a.Owner(), &form);
  EXPECT_EQ(a.Name(), u"Archiver");
  EXPECT_FALSE(a.ExtractCorruptedFiles());
  EXPECT_EQ(a.CompressionLevel(), zip::clMax);
  EXPECT_EQ(a.CompressionMode(), 9);
  EXPECT_EQ(a.NewEntryMethod(), 8);  // deflate follows the compression setting
  EXPECT_EQ(a.CurrentVersion(), u"3.02 ");
  EXPECT_EQ(a.SpanningMode(), zip::smNone);
  EXPECT_TRUE(a.SpanningOptions().AdvancedNaming());
  EXPECT_EQ(a.SpanningOptions().VolumeSize(), zip::vsAutoDetect);
  EXPECT_EQ(a.Options().ShareMode(), zip::smShareCompat);
  EXPECT_TRUE(a.Options().FlushBuffers());
  EXPECT_TRUE(a.Options().OEMFileNames());
  EXPECT_EQ(a.Options().OverwriteMode(), zip::omAlways);  // not stored: the default
  EXPECT_FALSE(a.InMemory());
  EXPECT_EQ(form.Archiver->Zip64Mode(), zip::zmDisabled);
  EXPECT_TRUE(form.Archiver->UnicodeFilenames());
}

TEST_F(ArchiverProperties, EverythingTheInstallerTouchesIsReachableByName) {
  zip::TZipArchiver archiver;
  rt::SetProperty(archiver, "Options.OverwriteMode", Ident("omNever"));
  rt::SetProperty(archiver, "FileName", {rt::WideString(u"C:\\setup.exe")});
  rt::SetProperty(archiver, "Password", {rt::WideString(u"clave")});
  rt::SetProperty(archiver, "FileMasks", {rt::TFormList{{{rt::WideString(u"*.txt")}, {rt::WideString(u"*.exe")}}}});
  rt::SetProperty(archiver, "SpanningOptions.CustomVolumeSize", {int64_t{1000}});
  EXPECT_EQ(archiver.Options().OverwriteMode(), zip::omNever);
  EXPECT_EQ(archiver.FileName(), u"C:\\setup.exe");
  EXPECT_EQ(archiver.Password(), "clave");
  ASSERT_EQ(archiver.FileMasks().Count(), 2);
  EXPECT_EQ(archiver.FileMasks().Get(1), u"*.exe");
  EXPECT_EQ(rt::GetPropertyText(archiver, "SpanningOptions.CustomVolumeSize"), u"65536");
  EXPECT_EQ(rt::GetPropertyText(archiver, "CompressionLevel"), u"clFastest");
  // Assignments to the version are ignored, as the component does.
  rt::SetProperty(archiver, "CurrentVersion", {rt::WideString(u"9.99")});
  EXPECT_EQ(archiver.CurrentVersion(), u"3.02 ");
}

TEST_F(ArchiverProperties, EventsBindToTheFormsHandlers) {
  TFormObject data = StoredHost();
  data.Children[0].Properties.push_back({"OnProcessFileFailure", Ident("ArchiverFailure")});
  THostForm form(nullptr);
  rt::CreateFormFromData(data, form);
  zip::TZipAction action = zip::fxaIgnore;
  form.Archiver->DoProcessFileFailure(u"a.txt", zip::poExtract, 8, 4, u"bad", action);
  EXPECT_EQ(action, zip::fxaAbort);

  // A handler of the wrong signature is refused by name.
  data.Children[0].Properties.back() = {"AfterOpen", Ident("ArchiverFailure")};
  THostForm other(nullptr);
  try {
    rt::CreateFormFromData(data, other);
    FAIL() << "no exception";
  } catch (const rt::EReadError& e) {
    EXPECT_EQ(e.Message(), u"Erreur de lecture de Archiver.AfterOpen : La méthode ArchiverFailure ne "
                           u"convient pas à l'événement TZipArchiver.AfterOpen");
  }
}

TEST_F(ArchiverProperties, TheArchiversOwnRefusalsNameTheProperty) {
  TFormObject data = StoredHost();
  data.Children[0].Properties[2].Value = {int64_t{10}};  // CompressionMode above 9
  THostForm form(nullptr);
  try {
    rt::CreateFormFromData(data, form);
    FAIL() << "no exception";
  } catch (const rt::EReadError& e) {
    const std::string message = rt::WideToUtf8(e.Message());
    EXPECT_EQ(message.rfind("Erreur de lecture de Archiver.CompressionMode : ", 0), 0u) << message;
    EXPECT_NE(message.find("Invalid compression mode"), std::string::npos) << message;
  }
}

std::vector<uint8_t> ReadSourceFile(const std::string& path) {
  std::ifstream in(std::string(QUIMORA_SOURCE_DIR) + "/" + path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The installer's own form description: its archiver binds by these names.
TEST_F(ArchiverProperties, TheInstallersFormDescriptionConfiguresItsArchiver) {
  std::vector<uint8_t> text;
  try {
    text = ReadSourceFile("content/installer/fmMain.form");
  } catch (const std::exception& e) {
    GTEST_SKIP() << e.what();  // a Windows build run where the source tree is out of reach
  }
  const TFormObject form = rt::ParseFormText(
      std::string_view(reinterpret_cast<const char*>(text.data()), text.size()), "fmMain.form",
      [](const std::string& name) {
        // Files the build makes (the packed skin) are not in the source tree.
        try {
          return ReadSourceFile("content/installer/" + name);
        } catch (const std::runtime_error&) {
          return std::vector<uint8_t>();
        }
      });
  TFormObject host{"THostForm", "fmHost", {}, {}};
  for (const auto& child : form.Children)
    if (child.ClassName == "TZipArchiver") host.Children.push_back(child);
  ASSERT_EQ(host.Children.size(), 1u);
  THostForm built(nullptr);
  rt::CreateFormFromData(host, built);
  EXPECT_EQ(built.Archiver->CompressionLevel(), zip::clMax);
  EXPECT_EQ(built.Archiver->Options().ShareMode(), zip::smShareCompat);
  EXPECT_EQ(built.Archiver->Zip64Mode(), zip::zmDisabled);
}

}  // namespace
}  // namespace installer
