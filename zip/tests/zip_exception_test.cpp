#include "zip/zip_exception.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace zip {
namespace {

// The raising sites of each error code, written code by code so that the
// native-ordered table of the implementation is checked from the other side.
const std::map<int32_t, std::vector<int32_t>> kSitesOfCode = {
    {0, {0}}, {1, {1, 2, 3, 4, 7, 16, 21, 24}}, {2, {5}}, {3, {6}}, {4, {8}}, {5, {9, 10, 29}},
    {6, {11, 12, 15, 18, 30, 31, 38, 42, 53, 54}}, {7, {13, 14}}, {8, {17}}, {9, {19, 23}},
    {10, {20}}, {11, {22, 25}}, {12, {33}}, {13, {26}}, {14, {27}}, {15, {28}}, {16, {32}},
    {17, {34}}, {18, {35}}, {19, {36}}, {20, {37}}, {21, {39}}, {22, {40}}, {23, {41, 43}},
    {24, {44, 45}}, {25, {46}}, {26, {47}}, {27, {48, 57}}, {28, {49}}, {29, {50}}, {30, {51}},
    {31, {52}}, {32, {55}}, {33, {56}}, {34, {58, 59}}, {35, {60}}, {36, {61}}, {37, {62}},
};

TEST(EZipExceptionTest, EveryRaisingSiteMapsToItsErrorCode) {
  std::map<int32_t, int> seen;
  for (const auto& [code, sites] : kSitesOfCode) {
    for (int32_t native : sites) {
      const EZipException e(static_cast<TZipNativeError>(native));
      EXPECT_EQ(e.ErrorCode(), code) << "native " << native;
      EXPECT_EQ(e.NativeError(), native);
      ++seen[native];
    }
  }
  // Natives 0..62, each exactly once.
  ASSERT_EQ(seen.size(), 63u);
  EXPECT_EQ(seen.begin()->first, 0);
  EXPECT_EQ(seen.rbegin()->first, 62);
  for (const auto& [native, count] : seen) EXPECT_EQ(count, 1) << "native " << native;
}

TEST(EZipExceptionTest, SitesOutsideTheTableAreUnknownErrors) {
  for (int32_t native : {-1, 63, 64, 1000}) {
    const EZipException e(static_cast<TZipNativeError>(native));
    EXPECT_EQ(e.ErrorCode(), 0);
    EXPECT_EQ(e.NativeError(), native);
    EXPECT_EQ(e.Message().substr(0, 13), u"Unknown error") << native;
  }
}

TEST(EZipExceptionTest, MessageTableTexts) {
  EXPECT_EQ(EZipException::MessageText(20),
            u"Archive is open. You should close it beore performing this operation.");
  EXPECT_EQ(EZipException::MessageText(36), u"File name is too long: \r\n\"%s\"");
  for (int32_t code = 0; code <= 37; ++code)
    EXPECT_FALSE(EZipException::MessageText(code).empty()) << code;
  for (int32_t code : {38, 39, 40, 41, -1}) EXPECT_TRUE(EZipException::MessageText(code).empty());
}

TEST(EZipExceptionTest, MessageIsTextThenZeroPaddedNativeNumber) {
  EXPECT_EQ(EZipException(neNotOpen).Message(), u"Archive is not open - Native error: 00013");
  EXPECT_EQ(EZipException(neCompressionMode).Message(),
            u"Invalid compression mode. Mode must be in [0-9] range - Native error: 00005");
  EXPECT_EQ(EZipException(static_cast<TZipNativeError>(12345)).Message(), u"Unknown error - Native error: 12345");
  EXPECT_EQ(EZipException(static_cast<TZipNativeError>(123456)).Message(), u"Unknown error - Native error: 123456");
}

TEST(EZipExceptionTest, FormatArgumentsFillTheText) {
  EXPECT_EQ(EZipException(neArchiveNotFound, nullptr, {u"C:\\Setup\\a.zip"}).Message(),
            u"File \"C:\\Setup\\a.zip\" not found - Native error: 00012");
  EXPECT_EQ(EZipException(static_cast<TZipNativeError>(34), nullptr, {100, 7}).Message(),
            u"Invalid compressed size, rfs.size = 100, count = 7 - Native error: 00034");
  // Without arguments the directive stays as it is.
  EXPECT_EQ(EZipException(neArchiveNotFound).Message(), u"File \"%s\" not found - Native error: 00012");
  // Arguments that do not fit the text leave the text bare rather than
  // turning the error into a formatting failure.
  EXPECT_EQ(EZipException(static_cast<TZipNativeError>(34), nullptr, {u"x"}).Message(),
            u"Invalid compressed size, rfs.size = %d, count = %d - Native error: 00034");
}

TEST(EZipExceptionTest, NamedComponentPrefixesTheMessage) {
  rt::TComponent archiver(nullptr);
  EXPECT_EQ(EZipException(neNotOpen, &archiver).Message(), u"Archive is not open - Native error: 00013");
  archiver.SetName(u"Archiver");
  const EZipException e(neArchiveNotFound, &archiver, {u"C:\\quimora.exe"});
  EXPECT_EQ(e.Message(),
            u"Archiver: File \"C:\\quimora.exe\" not found - Native error: 00012");
  EXPECT_EQ(e.ErrorCode(), zeFileNotFound);
}

}  // namespace
}  // namespace zip
