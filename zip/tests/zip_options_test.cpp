#include "zip/zip_options.h"

#include <gtest/gtest.h>

#include "runtime/exceptions.h"
#include "zip/wide_strings.h"

namespace zip {
namespace {

TEST(TZipOptionsTest, AssignCopiesEverythingButTheShareMode) {
  TZipOptions source;
  source.SetStorePath(spFullPathWithDrive);
  source.SetRecurse(false);
  source.SetShareMode(smShareExclusive);
  source.SetOverwriteMode(omIfOlder);
  source.SetCreateDirs(false);
  source.SetReplaceReadOnly(false);
  source.SetSetAttributes(false);
  source.SetSearchAttr(0x21);
  source.SetFlushBuffers(false);
  source.SetOEMFileNames(false);

  TZipOptions dest;
  dest.SetShareMode(smShareCompat);
  dest.Assign(source);
  EXPECT_EQ(dest.StorePath(), spFullPathWithDrive);
  EXPECT_FALSE(dest.Recurse());
  EXPECT_EQ(dest.ShareMode(), smShareCompat);
  EXPECT_EQ(dest.OverwriteMode(), omIfOlder);
  EXPECT_FALSE(dest.CreateDirs());
  EXPECT_FALSE(dest.ReplaceReadOnly());
  EXPECT_FALSE(dest.SetAttributes());
  EXPECT_EQ(dest.SearchAttr(), 0x21);
  EXPECT_FALSE(dest.FlushBuffers());
  EXPECT_FALSE(dest.OEMFileNames());
}

TEST(TZipOptionsTest, AssignFromAnotherKindOfObjectIsAConversionError) {
  TZipOptions dest;
  dest.SetOverwriteMode(omNever);
  EXPECT_THROW(dest.Assign(TZipSpanningOptions()), rt::EConvertError);
  EXPECT_THROW(dest.Assign(TWideStringList()), rt::EConvertError);
  EXPECT_EQ(dest.OverwriteMode(), omNever);

  TZipSpanningOptions spanning;
  EXPECT_THROW(spanning.Assign(TZipOptions()), rt::EConvertError);
}

TEST(CompressionConversionTest, LevelToModeAndBack) {
  EXPECT_EQ(CompressionLevelToMode(clNone), 0);
  EXPECT_EQ(CompressionLevelToMode(clFastest), 1);
  EXPECT_EQ(CompressionLevelToMode(clNormal), 6);
  EXPECT_EQ(CompressionLevelToMode(clMax), 9);
  const TZipCompressionLevel byMode[10] = {clNone,   clFastest, clFastest, clFastest, clNormal,
                                           clNormal, clNormal,  clMax,     clMax,     clMax};
  for (uint8_t mode = 0; mode <= 9; ++mode)
    EXPECT_EQ(CompressionModeToLevel(mode), byMode[mode]) << int(mode);
}

TEST(TZipSpanningOptionsTest, CustomVolumeSizeHasAFloor) {
  TZipSpanningOptions o;
  for (int64_t small : {int64_t{-5}, int64_t{0}, int64_t{1000}, int64_t{65535}}) {
    o.SetCustomVolumeSize(small);
    EXPECT_EQ(o.CustomVolumeSize(), 65536) << small;
  }
  for (int64_t fine : {int64_t{65536}, int64_t{65537}, int64_t{10'000'000'000}}) {
    o.SetCustomVolumeSize(fine);
    EXPECT_EQ(o.CustomVolumeSize(), fine);
  }
}

TEST(TZipSpanningOptionsTest, VolumeSizeLimits) {
  struct Row {
    TZipVolumeSize size;
    int64_t limit;
  };
  const Row rows[] = {
      {vsAutoDetect, -1},        {vsCustom, 200000},       {vs1_44MB, 1457664},
      {vs100MB, 104857600},      {vs200MB, 209715200},     {vs250MB, 262144000},
      {vs600MB, 629145600},      {vs650MB, 681574400},     {vs700MB, 734003200},
      {vs4700MB, 4928307200},
  };
  TZipSpanningOptions o;
  o.SetCustomVolumeSize(200000);
  for (const Row& r : rows) {
    o.SetVolumeSize(r.size);
    o.SetFirstVolumeSize(0);
    EXPECT_EQ(o.VolumeSizeLimit(0), r.limit) << r.size;
    EXPECT_EQ(o.VolumeSizeLimit(3), r.limit) << r.size;
    // A first-volume size applies to volume 0 only.
    o.SetFirstVolumeSize(70000);
    EXPECT_EQ(o.VolumeSizeLimit(0), 70000) << r.size;
    EXPECT_EQ(o.VolumeSizeLimit(1), r.limit) << r.size;
  }
}

using Kind = TZipVolumeNumberInfo::TVolumeKind;
constexpr Kind kFirst = TZipVolumeNumberInfo::FirstVolume;
constexpr Kind kLast = TZipVolumeNumberInfo::LastVolume;
constexpr Kind kNumbered = TZipVolumeNumberInfo::NumberedVolume;

TZipVolumeNumberInfo Info(Kind kind, int32_t number, int32_t last) {
  TZipVolumeNumberInfo info;
  info.VolumeKind = kind;
  info.VolumeNumber = number;
  info.LastVolumeNumber = last;
  return info;
}

TEST(TZipVolumeNumberInfoTest, ResetFirstLastAndNumbered) {
  TZipVolumeNumberInfo info;
  info.LastVolumeNumber = 4;
  info.SetLastVolume();
  EXPECT_EQ(info.VolumeNumber, 4);
  EXPECT_TRUE(info.IsLastVolume());
  info.SetFirstVolume();
  EXPECT_EQ(info.VolumeKind, TZipVolumeNumberInfo::FirstVolume);
  EXPECT_TRUE(info.IsFirstVolume());
  EXPECT_FALSE(info.IsLastVolume());
  info.SetVolumeNumber(2);
  EXPECT_EQ(info.VolumeKind, TZipVolumeNumberInfo::NumberedVolume);
  EXPECT_FALSE(info.IsFirstVolume() || info.IsLastVolume());
  info.Reset();
  EXPECT_EQ(info.VolumeKind, TZipVolumeNumberInfo::UndeterminedVolume);
  EXPECT_EQ(info.VolumeNumber, -1);
  EXPECT_EQ(info.LastVolumeNumber, -1);
}

TEST(TZipVolumeNumberInfoTest, LastVolumeRules) {
  // The last volume of an archive whose volume count is not known yet.
  EXPECT_TRUE(Info(kLast, -1, -1).IsLastVolume());
  EXPECT_TRUE(Info(kNumbered, 3, 3).IsLastVolume());
  EXPECT_FALSE(Info(kLast, 2, 3).IsLastVolume());
  EXPECT_FALSE(Info(kNumbered, 2, -1).IsLastVolume());
}

TEST(TZipVolumeNumberInfoTest, SameVolumeIsDecidedOnTheFirstInfo) {
  struct Row {
    TZipVolumeNumberInfo a, b;
    bool same;
  };
  const Row rows[] = {
      // Both last, whatever their numbers.
      {Info(kLast, -1, -1), Info(kNumbered, 5, 5), true},
      // The first one is last, the other is not.
      {Info(kNumbered, 5, 5), Info(kNumbered, 5, 6), false},
      // Both first.
      {Info(kFirst, 0, 3), Info(kNumbered, 0, 3), true},
      {Info(kFirst, 0, 3), Info(kNumbered, 1, 3), false},
      // No number yet: the kinds decide.
      {Info(kFirst, -2, 3), Info(kFirst, 7, 3), true},
      {Info(kFirst, -2, 3), Info(kNumbered, -2, 3), false},
      // Otherwise the numbers.
      {Info(kNumbered, 2, 5), Info(kLast, 2, 5), true},
      {Info(kNumbered, 2, 5), Info(kNumbered, 3, 5), false},
  };
  for (size_t i = 0; i < std::size(rows); ++i)
    EXPECT_EQ(rows[i].a.SameVolume(rows[i].b), rows[i].same) << "row " << i;
}

}  // namespace
}  // namespace zip
