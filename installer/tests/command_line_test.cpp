#include "installer/command_line.h"

#include <gtest/gtest.h>

namespace installer {
namespace {

TEST(CommandLine, ArgumentsFollowTheProgramNameQuotedOrNot) {
  EXPECT_EQ(ArgumentsOf(u"\"C:\\Mis descargas\\InstalaQuimora.exe\" /S /D=C:\\x"), u"/S /D=C:\\x");
  EXPECT_EQ(ArgumentsOf(u"InstalaQuimora.exe   /S  "), u"/S");
  EXPECT_EQ(ArgumentsOf(u"InstalaQuimora.exe"), u"");
  EXPECT_EQ(ArgumentsOf(u"\"C:\\a b\\x.exe\""), u"");
}

TEST(CommandLine, SwitchesInAnyCaseAndAFolderThatTakesTheRestOfTheLine) {
  for (const char16_t* silent : {u"/S", u"/s", u"/SILENT", u"/VerySilent"}) {
    const TCommandLine line = ParseCommandLine(silent);
    EXPECT_TRUE(line.Silent);
    EXPECT_TRUE(line.Valid());
  }
  const TCommandLine line = ParseCommandLine(u"/s /log=\"C:\\Mis registros\\q.log\" /D=C:\\Archivos de programa\\Łukasz 日本 ");
  EXPECT_TRUE(line.Silent);
  EXPECT_EQ(line.LogFile, u"C:\\Mis registros\\q.log");
  EXPECT_EQ(line.Folder, u"C:\\Archivos de programa\\Łukasz 日本");
  EXPECT_TRUE(line.Valid());

  // /D= swallows what follows it, switches included, as other installers do.
  EXPECT_EQ(ParseCommandLine(u"/D=C:\\a /S").Folder, u"C:\\a /S");
  EXPECT_FALSE(ParseCommandLine(u"/D=C:\\a /S").Silent);
  EXPECT_EQ(ParseCommandLine(u"/D=\"C:\\a b\"").Folder, u"C:\\a b");
  EXPECT_EQ(ParseCommandLine(u"/DIR=\"C:\\a b\" /SILENT").Folder, u"C:\\a b");
  EXPECT_TRUE(ParseCommandLine(u"/DIR=\"C:\\a b\" /SILENT").Silent);
  EXPECT_EQ(ParseCommandLine(u"/dir=C:\\a").Folder, u"C:\\a");
  EXPECT_EQ(ParseCommandLine(u"/LOG=q.log").LogFile, u"q.log");
  EXPECT_TRUE(ParseCommandLine(u"/?").Usage);
  EXPECT_TRUE(ParseCommandLine(u"").Valid());
}

TEST(CommandLine, AnythingElseIsNamedAndTheRestStillRead) {
  const std::pair<const char16_t*, const char16_t*> cases[] = {
      {u"/X", u"/X"},        {u"/S /Q", u"/Q"},       {u"setup", u"setup"},   {u"/D=", u"/D="},
      {u"/LOG=", u"/LOG="},  {u"/SILENT=1", u"/SILENT=1"}, {u"/DIR", u"/DIR"}, {u"-S", u"-S"},
      {u"/_AFTER=12x", u"/_AFTER=12x"},
  };
  for (const auto& [arguments, unknown] : cases) {
    const TCommandLine line = ParseCommandLine(arguments);
    EXPECT_FALSE(line.Valid()) << rt::WideToUtf8(arguments);
    EXPECT_EQ(line.Unknown, unknown) << rt::WideToUtf8(arguments);
  }
  // A silent run with a bad switch must still know that it is silent, so
  // that it ends with a code instead of a box.
  const TCommandLine late = ParseCommandLine(u"/Q /S");
  EXPECT_TRUE(late.Silent);
  EXPECT_EQ(late.Unknown, u"/Q");
}

TEST(CommandLine, TheUninstallersCopyIsToldWhatToRemoveAndWhomToWaitFor) {
  const TCommandLine line = ParseCommandLine(u"/_REMOVE=\"C:\\Prueba Ł\\Programa\" /_AFTER=1234");
  EXPECT_EQ(line.RemoveFrom, u"C:\\Prueba Ł\\Programa");
  EXPECT_EQ(line.After, 1234u);
  EXPECT_TRUE(line.Valid());
}

}  // namespace
}  // namespace installer
