#include "runtime/streams.h"

#include <gtest/gtest.h>

#include "runtime/exceptions.h"

namespace rt {
namespace {

TEST(MemoryStream, ReadWriteSeek) {
  TMemoryStream s;
  s.WriteBuffer("hello world", 11);
  EXPECT_EQ(s.Size(), 11);
  EXPECT_EQ(s.Position(), 11);
  s.SetPosition(6);
  char buf[16] = {};
  EXPECT_EQ(s.Read(buf, 16), 5);
  EXPECT_STREQ(buf, "world");
  EXPECT_EQ(s.Read(buf, 1), 0);
  EXPECT_EQ(s.Seek(-5, SeekOrigin::soEnd), 6);
  EXPECT_EQ(s.Seek(2, SeekOrigin::soCurrent), 8);
  EXPECT_THROW(s.Seek(-9, SeekOrigin::soCurrent), EStreamError);
}

TEST(MemoryStream, WritingPastTheEndFillsTheGapWithZeros) {
  TMemoryStream s;
  s.SetPosition(3);
  s.WriteBuffer("x", 1);
  ASSERT_EQ(s.Size(), 4);
  EXPECT_EQ(s.Bytes(), (std::vector<uint8_t>{0, 0, 0, 'x'}));
  s.SetSize(2);
  EXPECT_EQ(s.Position(), 2);
}

TEST(MemoryStream, ShortReadOfARecordRaisesTheReadError) {
  TMemoryStream s(std::vector<uint8_t>{1, 2, 3});
  uint8_t record[4];
  try {
    s.ReadBuffer(record, sizeof record);
    FAIL() << "no exception";
  } catch (const EReadError& e) {
    EXPECT_EQ(e.Message(), u"Erreur de lecture du flux");
  }
  s.SetPosition(0);
  s.ReadBuffer(record, 3);
  EXPECT_EQ(record[2], 3);
}

TEST(MemoryStream, CopyFromWholeAndPart) {
  TMemoryStream source(std::vector<uint8_t>{1, 2, 3, 4, 5});
  source.SetPosition(4);
  TMemoryStream whole;
  EXPECT_EQ(whole.CopyFrom(source, 0), 5);
  EXPECT_EQ(whole.Bytes(), source.Bytes());
  source.SetPosition(1);
  TMemoryStream part;
  EXPECT_EQ(part.CopyFrom(source, 2), 2);
  EXPECT_EQ(part.Bytes(), (std::vector<uint8_t>{2, 3}));
  EXPECT_THROW(part.CopyFrom(source, 10), EReadError);
}

}  // namespace
}  // namespace rt
