#include "zip/path_functions.h"

#include <gtest/gtest.h>

#include "runtime/strings.h"

namespace zip {
namespace {

struct SplitCase {
  const char16_t* name;
  const char16_t* path;
  const char16_t* file;
  const char16_t* ext;
  const char16_t* drive;
};

void PrintTo(const SplitCase& c, std::ostream* os) { *os << '"' << rt::WideToUtf8(c.name) << '"'; }

class PathSplitTest : public testing::TestWithParam<SplitCase> {};

TEST_P(PathSplitTest, SplitsAtTheLastBackslashOrColon) {
  const SplitCase& c = GetParam();
  EXPECT_EQ(PathOf(c.name), c.path);
  EXPECT_EQ(NameOf(c.name), c.file);
  EXPECT_EQ(ExtOf(c.name), c.ext);
  EXPECT_EQ(DriveOf(c.name), c.drive);
  // The path and the name are always the whole name again.
  EXPECT_EQ(PathOf(c.name) + NameOf(c.name), c.name);
}

INSTANTIATE_TEST_SUITE_P(
    OddNames, PathSplitTest,
    testing::Values(
        SplitCase{u"", u"", u"", u"", u""},
        SplitCase{u"file.txt", u"", u"file.txt", u".txt", u""},
        SplitCase{u"C:\\dir.d\\file", u"C:\\dir.d\\", u"file", u"", u"C:"},
        SplitCase{u"C:\\dir\\", u"C:\\dir\\", u"", u"", u"C:"},
        SplitCase{u"C:", u"C:", u"", u"", u"C:"},
        SplitCase{u"C:file.tar.gz", u"C:", u"file.tar.gz", u".gz", u"C:"},
        SplitCase{u"\\\\server\\share\\x", u"\\\\server\\share\\", u"x", u"", u"\\\\server\\share"},
        SplitCase{u"\\\\server\\share\\d\\x.y", u"\\\\server\\share\\d\\", u"x.y", u".y",
                  u"\\\\server\\share"},
        SplitCase{u"\\\\server\\share", u"\\\\server\\", u"share", u"", u"\\\\server\\share"},
        SplitCase{u"\\\\server", u"\\\\", u"server", u"", u"\\\\server"},
        SplitCase{u"a.b\\c", u"a.b\\", u"c", u"", u""},
        SplitCase{u".profile", u"", u".profile", u".profile", u""},
        SplitCase{u"name.", u"", u"name.", u".", u""},
        // "/" is not a delimiter of these names.
        SplitCase{u"dir/file.txt", u"", u"dir/file.txt", u".txt", u""},
        SplitCase{u"\\root\\名前.Ünï", u"\\root\\", u"名前.Ünï", u".Ünï", u""}));

TEST(TrailingBackslashTest, AddsOneOrRemovesOne) {
  EXPECT_EQ(WithTrailingBackslash(u""), u"\\");
  EXPECT_EQ(WithTrailingBackslash(u"a"), u"a\\");
  EXPECT_EQ(WithTrailingBackslash(u"a\\"), u"a\\");
  EXPECT_EQ(WithTrailingBackslash(u"C:"), u"C:\\");
  EXPECT_EQ(WithoutTrailingBackslash(u""), u"");
  EXPECT_EQ(WithoutTrailingBackslash(u"a"), u"a");
  EXPECT_EQ(WithoutTrailingBackslash(u"a\\"), u"a");
  EXPECT_EQ(WithoutTrailingBackslash(u"a\\\\"), u"a\\");
  EXPECT_EQ(WithoutTrailingBackslash(u"\\"), u"");
}

struct ReplaceCase {
  const char16_t* text;
  const char16_t* oldPattern;
  const char16_t* newPattern;
  unsigned flags;
  const char16_t* expected;
};

void PrintTo(const ReplaceCase& c, std::ostream* os) {
  *os << '"' << rt::WideToUtf8(c.text) << "\" \"" << rt::WideToUtf8(c.oldPattern) << "\" -> \""
      << rt::WideToUtf8(c.newPattern) << "\" flags " << c.flags;
}

class ReplaceTextTest : public testing::TestWithParam<ReplaceCase> {};

TEST_P(ReplaceTextTest, Replaces) {
  const ReplaceCase& c = GetParam();
  EXPECT_EQ(ReplaceText(c.text, c.oldPattern, c.newPattern, c.flags), c.expected);
}

constexpr unsigned kAllIgnoringCase = rfReplaceAll | rfIgnoreCase;

INSTANTIATE_TEST_SUITE_P(
    Flags, ReplaceTextTest,
    testing::Values(
        ReplaceCase{u"a-b-c", u"-", u"+", 0, u"a+b-c"},
        ReplaceCase{u"a-b-c", u"-", u"+", rfReplaceAll, u"a+b+c"},
        ReplaceCase{u"a-b-c", u"-", u"", rfReplaceAll, u"abc"},
        ReplaceCase{u"Hello hello", u"HELLO", u"bye", 0, u"Hello hello"},
        ReplaceCase{u"Hello hello", u"HELLO", u"bye", rfIgnoreCase, u"bye hello"},
        ReplaceCase{u"Hello hello", u"HELLO", u"bye", kAllIgnoringCase, u"bye bye"},
        // The parts not replaced keep their own case.
        ReplaceCase{u"FooBAR", u"bar", u"baz", rfIgnoreCase, u"Foobaz"},
        ReplaceCase{u"ÉTÉ été", u"été", u"x", kAllIgnoringCase, u"x x"},
        // Matches do not overlap, and a replacement is not searched again.
        ReplaceCase{u"aaa", u"aa", u"b", rfReplaceAll, u"ba"},
        ReplaceCase{u"ab", u"a", u"aa", rfReplaceAll, u"aab"},
        ReplaceCase{u"abc", u"", u"x", rfReplaceAll, u"abc"},
        ReplaceCase{u"abc", u"abcd", u"x", rfReplaceAll, u"abc"},
        ReplaceCase{u"a/b/c", u"/", u"\\", rfReplaceAll, u"a\\b\\c"}));

// What the system makes of a full path before it reaches the disk, and the
// long form that skips that step.
TEST(LongPaths, FullPathsAreNormalizedAsTheSystemDoes) {
  const std::pair<const char16_t*, const char16_t*> cases[] = {
      {u"C:\\a\\b", u"C:\\a\\b"},
      {u"C:/a//b/", u"C:\\a\\b\\"},
      {u"C:\\a\\.\\b\\..\\c", u"C:\\a\\c"},
      {u"C:\\..\\..\\a", u"C:\\a"},
      {u"C:\\a\\b\\..\\..\\..", u"C:\\"},
      {u"C:\\a\\name. . ", u"C:\\a\\name"},
      {u"C:\\a\\dots.\\", u"C:\\a\\dots.\\"},
      {u"C:", u"C:\\"},
      {u"\\\\server\\share\\a\\..\\..\\b", u"\\\\server\\share\\b"},
      {u"\\\\server\\share", u"\\\\server\\share\\"},
      {u"C:\\\u0141ukasz \u65e5\u672c\\x", u"C:\\\u0141ukasz \u65e5\u672c\\x"},
  };
  for (const auto& [path, normalized] : cases) EXPECT_EQ(NormalizedFullPath(path), normalized);
  EXPECT_EQ(ExtendedLengthPath(u"C:\\a"), u"\\\\?\\C:\\a");
  EXPECT_EQ(ExtendedLengthPath(u"\\\\server\\share\\a"), u"\\\\?\\UNC\\server\\share\\a");

  EXPECT_TRUE(IsFullyQualified(u"C:\\"));
  EXPECT_TRUE(IsFullyQualified(u"c:/x"));
  EXPECT_TRUE(IsFullyQualified(u"\\\\server\\share"));
  EXPECT_FALSE(IsFullyQualified(u"C:x"));
  EXPECT_FALSE(IsFullyQualified(u"\\x"));
  EXPECT_FALSE(IsFullyQualified(u"x\\y"));
}

}  // namespace
}  // namespace zip
