#include "zip/selection.h"

#include <gtest/gtest.h>

#include "zip/zip_exception.h"

namespace zip {
namespace {

struct MaskCase {
  const char16_t* name;
  const char16_t* mask;
  bool matches;
};

TEST(MatchesMask, Table) {
  const MaskCase cases[] = {
      {u"a.txt", u"*.*", true},
      {u"README", u"*.*", true},
      {u"dir/sub/a.txt", u"*", true},
      {u"a.txt", u"*.txt", true},
      {u"dir/a.txt", u"*.txt", true},
      {u"a.txt.bak", u"*.txt", false},
      {u"A.TXT", u"a.txt", true},
      {u"README", u"*.", true},
      {u"notes.", u"*.", true},
      {u"notes.txt", u"*.", false},
      {u"a.", u"a", true},
      {u"x", u"x**", false},
      {u"x", u"x*", true},
      {u"xy", u"x**", true},
      {u"", u"?", false},
      {u"ab", u"a?", true},
      {u"a", u"a?", false},
      {u"d/x.txt", u"d?x.txt", true},
      {u"anything", u"", false},
      {u"caf\u00c9.TXT", u"caf\u00e9.txt", true},
  };
  for (const auto& c : cases)
    EXPECT_EQ(MatchesMask(c.name, c.mask), c.matches)
        << rt::WideToUtf8(c.name) << " ~ " << rt::WideToUtf8(c.mask);
}

TEST(WildcardMatch, ManyStarsStayFast) {
  const WideString name(4000, u'a');
  EXPECT_FALSE(WildcardMatch(name, u"*a*a*a*a*a*a*a*a*a*a*b", true));
  EXPECT_TRUE(WildcardMatch(name + u"b", u"*a*a*a*a*a*a*a*a*a*a*b", true));
  EXPECT_FALSE(WildcardMatch(u"abc", u"ABC", false));
}

TEST(AttributesAllowed, OnlyFourBitsExclude) {
  EXPECT_TRUE(AttributesAllowed(0x20, 0));
  EXPECT_TRUE(AttributesAllowed(0x81FF0021, 0));
  EXPECT_FALSE(AttributesAllowed(0x10, 0x2F));
  EXPECT_TRUE(AttributesAllowed(0x10, 0x3F));
  for (uint32_t bit : {0x02u, 0x04u, 0x08u, 0x10u}) {
    EXPECT_FALSE(AttributesAllowed(bit, 0x28BF & ~bit)) << bit;
    EXPECT_TRUE(AttributesAllowed(bit, 0x28BF)) << bit;
  }
}

class Selection : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::pair<const char16_t*, uint32_t> entries[] = {
        {u"readme.txt", 0x20}, {u"docs/", 0x10},     {u"docs/ReadMe.TXT", 0x20},
        {u"docs/a.bin", 0x21}, {u"/data/x.txt", 0x20}, {u"data/x.txt", 0x22},
        {u"notes.", 0x20},
    };
    items.SetCount(static_cast<int>(std::size(entries)));
    for (int i = 0; i < items.Count(); ++i) {
      items.Rename(i, entries[i].first);
      items.ItemPtr(i).ExternalAttributes = entries[i].second;
      items.ItemPtr(i).CompressedSize = 50;
      items.ItemPtr(i).UncompressedSize = 200;
    }
  }

  std::vector<int> Selected(const WideString& mask, uint32_t attributes = 0x28BF) {
    MarkSelection(items, options, mask, attributes, u"");
    std::vector<int> result;
    for (int i = 0; i < items.Count(); ++i)
      if (items.Item(i).Selected) result.push_back(i);
    return result;
  }

  TZipDirArray items;
  TZipSearchOptions options;
};

TEST_F(Selection, AllEntriesByAttributeSet) {
  EXPECT_EQ(Selected(u"*.*"), (std::vector<int>{0, 1, 2, 3, 4, 5, 6}));
  EXPECT_EQ(Selected(u"*.*", 0x3F), (std::vector<int>{0, 1, 2, 3, 4, 5, 6}));
  EXPECT_EQ(Selected(u"*.*", 0x2F), (std::vector<int>{0, 2, 3, 4, 5, 6}));
  EXPECT_EQ(Selected(u"*.*", 0), (std::vector<int>{0, 2, 3, 4, 6}));
  EXPECT_EQ(Selected(u""), std::vector<int>{});
}

TEST_F(Selection, BareNamesMatchInEveryFolderWhileRecursing) {
  EXPECT_EQ(Selected(u"readme.txt"), (std::vector<int>{0, 2}));
  options.Recurse = false;
  EXPECT_EQ(Selected(u"readme.txt"), (std::vector<int>{0}));
  EXPECT_EQ(Selected(u"docs\\*.*"), (std::vector<int>{2, 3}));
}

TEST_F(Selection, DriveIsStrippedUnlessPathsKeepDrives) {
  EXPECT_EQ(Selected(u"C:\\data\\*.txt"), (std::vector<int>{4}));
  options.StorePath = spFullPathWithDrive;
  EXPECT_EQ(Selected(u"C:\\data\\*.txt"), std::vector<int>{});
}

TEST_F(Selection, ResultRecordAndSearchState) {
  TZipArchiveItem item;
  // The folder entry "docs/" is compared as "docs", which "docs/*" misses.
  ASSERT_TRUE(FindFirst(items, options, u"docs\\*", item, 0x28BF, u"ex"));
  EXPECT_EQ(item.Handle.ItemNo, 2);
  EXPECT_EQ(item.Handle.FileMask, u"docs/*");
  EXPECT_TRUE(item.Handle.HasWildcards);
  EXPECT_EQ(item.Handle.ExclusionMask, u"ex");
  EXPECT_EQ(item.FileName, u"ReadMe.TXT");
  EXPECT_EQ(item.StoredPath, u"docs\\");
  EXPECT_DOUBLE_EQ(item.CompressionRate, 75.0);
  ASSERT_TRUE(FindNext(items, options, item));
  EXPECT_EQ(item.Handle.ItemNo, 3);
  EXPECT_FALSE(FindNext(items, options, item));
  EXPECT_EQ(item.FileName, u"a.bin");  // unchanged by the failed step
}

TEST_F(Selection, OverlongMaskIsRefused) {
  TZipArchiveItem item;
  try {
    FindFirst(items, options, WideString(260, u'a'), item, 0x28BF, u"");
    FAIL() << "accepted";
  } catch (const EZipException& e) {
    EXPECT_EQ(e.ErrorCode(), zeFileNameTooLong);
  }
  EXPECT_FALSE(FindFirst(items, options, WideString(259, u'a'), item, 0x28BF, u""));
}

}  // namespace
}  // namespace zip
