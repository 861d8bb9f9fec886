#include "zip/dir_array.h"

#include <gtest/gtest.h>

#include "zip/zip_exception.h"

namespace zip {
namespace {

TEST(DirArray, GrowsInTheDocumentedSteps) {
  TZipDirArray a;
  a.SetCount(1);
  EXPECT_EQ(a.Capacity(), 1000);
  a.SetCount(1001);
  EXPECT_EQ(a.Capacity(), 3000);
  TZipDirArray b;
  b.SetCount(5000);
  EXPECT_EQ(b.Capacity(), 5000);
  b.SetCount(10);
  EXPECT_EQ(b.Capacity(), 5000);
  b.SetCount(0);
  EXPECT_EQ(b.Capacity(), 0);
}

TEST(DirArray, ItemsBeyondASmallerCountStayAsTheyWere) {
  TZipDirArray a;
  a.SetCount(3);
  a.ItemPtr(2).Crc32 = 0xC0FFEE;
  a.SetCount(1);
  a.SetCount(3);
  EXPECT_EQ(a.Item(2).Crc32, 0xC0FFEEu);
  EXPECT_EQ(a.Capacity(), 1000);
  // Items counted for the first time are empty, also well inside the room.
  a.SetCount(900);
  EXPECT_EQ(a.Item(899).Crc32, 0u);
  EXPECT_TRUE(a.Item(899).Name.empty());
  a.SetCount(0);
  a.SetCount(3);
  EXPECT_EQ(a.Item(2).Crc32, 0u) << "emptied with the count";
}

TEST(DirArray, IndexErrorsCarryTheirSites) {
  TZipDirArray a;
  a.SetCount(2);
  auto native = [](auto f) {
    try {
      f();
    } catch (const EZipException& e) {
      EXPECT_EQ(e.ErrorCode(), zeIndexOutOfBounds);
      return e.NativeError();
    }
    return -1;
  };
  EXPECT_EQ(native([&] { a.SetItem(2, TDirItem()); }), 1);
  EXPECT_EQ(native([&] { a.GetItem(-1); }), 2);
  EXPECT_EQ(native([&] { a.ItemPtr(2); }), 3);
  EXPECT_EQ(native([&] { a.Delete(5); }), 4);
}

TEST(DirArray, NamesDifferingInCaseAreOneNameAndTheLaterWins) {
  TZipDirArray a;
  a.SetCount(3);
  a.Rename(0, u"Docs/Readme.txt");
  a.Rename(1, u"other");
  // Item 2 still has the empty name; the index holds "docs/readme.txt".
  TDirItem copy;
  copy.Name = u"DOCS/README.TXT";
  a.SetItem(2, copy);
  EXPECT_EQ(a.IndexOfName(u"docs/readme.TXT"), 2);
  a.Delete(2);
  EXPECT_EQ(a.IndexOfName(u"docs/readme.TXT"), 0);
  EXPECT_EQ(a.NameIndex().Count(), a.Count());
}

TEST(DirArray, RenameKeepsTheIndexInStep) {
  TZipDirArray a;
  a.SetCount(2);
  a.Rename(0, u"");
  try {
    a.Rename(1, u"b");  // item 1's empty name is already item 0's
    FAIL() << "renamed";
  } catch (const EZipException& e) {
    EXPECT_EQ(e.ErrorCode(), zeHashedListInvalid);
    EXPECT_EQ(e.NativeError(), neNameIndexRename);
  }
  a.Rename(0, u"first");
  a.Rename(0, u"renamed");
  EXPECT_EQ(a.IndexOfName(u"first"), -1);
  EXPECT_EQ(a.IndexOfName(u"RENAMED"), 0);
}

TEST(DirArray, AssignDeepCopiesExtraFields) {
  TZipDirArray a, b;
  a.SetCount(1);
  a.Rename(0, u"x");
  a.ItemPtr(0).ExtraFields.push_back({7, 2, {1, 2}});
  b.Assign(a);
  a.ItemPtr(0).ExtraFields[0].Data[0] = 9;
  EXPECT_EQ(b.Item(0).ExtraFields[0].Data[0], 1);
  EXPECT_EQ(b.IndexOfName(u"X"), 0);
}

TEST(HashedStringList, HashOfRotatesAndFolds) {
  TZipStringHash hash(7);
  EXPECT_EQ(hash.HashOf(u""), 0u);
  EXPECT_EQ(hash.HashOf(u"a"), 0x61u);
  EXPECT_EQ(hash.HashOf(u"ab"), (0x61u << 2) ^ 0x62u);
  uint32_t h = 0;
  for (char c : std::string(20, 'z')) h = ((h << 2) | (h >> 30)) ^ static_cast<uint8_t>(c);
  EXPECT_EQ(hash.HashOf(WideString(20, u'z')), h);
}

TEST(HashedStringList, StaysCorrectWhileGrowingPastItsBuckets) {
  TZipHashedStringList list;
  EXPECT_EQ(list.IndexOf(u"none"), -1);  // builds the hash with 1,000 buckets
  for (int i = 0; i < 12000; ++i) list.Add(u"name" + rt::Widen(std::to_string(i)));
  EXPECT_EQ(list.IndexOf(u"NAME11999"), 11999);
  EXPECT_EQ(list.IndexOf(u"name0"), 0);
  list.Put(5, u"renamed");
  EXPECT_EQ(list.IndexOf(u"name5"), -1);
  EXPECT_EQ(list.IndexOf(u"renamed"), 5);
  list.Delete(0);
  EXPECT_EQ(list.IndexOf(u"renamed"), 4);
  list.Add(u"key=value");
  EXPECT_EQ(list.IndexOfName(u"KEY"), list.Count() - 1);
  list.Clear();
  EXPECT_EQ(list.IndexOf(u"renamed"), -1);
}

}  // namespace
}  // namespace zip
