#include "zip/read_spans.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace zip {
namespace {

constexpr uint64_t kTop = ~uint64_t{0};

// Spans [100, 200) and [300, 400) of volume 0, [0, 50) of volume 2.
TZipReadSpans TwoSpans() {
  TZipReadSpans spans;
  spans.Record(0, 0, 100, 200);
  spans.Record(1, 0, 300, 400);
  spans.Record(2, 2, 0, 50);
  return spans;
}

struct Query {
  int32_t volume;
  uint64_t start, end;
  bool overlaps;
};

TEST(ReadSpansTest, OverlapsWhereAByteIsShared) {
  const TZipReadSpans spans = TwoSpans();
  const Query queries[] = {
      {0, 0, 100, false},    // ends where a span starts
      {0, 200, 300, false},  // the gap between two spans, exactly
      {0, 400, kTop, false}, // from the end of the last one on
      {0, 99, 101, true},    // into the start
      {0, 199, 250, true},   // from the last byte on
      {0, 150, 160, true},   // inside
      {0, 0, kTop, true},    // around all
      {0, 250, 301, true},   // from the gap into the next
      {0, 150, 150, false},  // nothing is no byte
      {1, 100, 200, false},  // another volume
      {2, 49, 50, true},
      {3, 0, kTop, false},
  };
  for (const Query& q : queries)
    EXPECT_EQ(spans.Overlaps(q.volume, q.start, q.end), q.overlaps)
        << "volume " << q.volume << " [" << q.start << ", " << q.end << ")";
}

TEST(ReadSpansTest, SpansThatMeetOrOverlapMergeIntoOne) {
  TZipReadSpans spans = TwoSpans();
  spans.Record(3, 0, 200, 300);  // fills the gap exactly
  spans.Record(4, 0, 390, 500);  // overlaps the end
  spans.Record(5, 0, 120, 130);  // inside
  EXPECT_TRUE(spans.Overlaps(0, 250, 251));
  EXPECT_TRUE(spans.Overlaps(0, 499, 600));
  EXPECT_FALSE(spans.Overlaps(0, 500, 600));
  EXPECT_FALSE(spans.Overlaps(0, 0, 100));
  spans.Record(6, 0, 0, kTop);
  EXPECT_TRUE(spans.Overlaps(0, kTop - 1, kTop));
  EXPECT_TRUE(spans.Overlaps(2, 10, 20)) << "other volumes keep theirs";
}

TEST(ReadSpansTest, EntriesAreRememberedUntilCleared) {
  TZipReadSpans spans = TwoSpans();
  spans.Record(1000, 0, 7, 7);  // an empty entry is remembered too
  EXPECT_TRUE(spans.Recorded(0));
  EXPECT_TRUE(spans.Recorded(1000));
  EXPECT_FALSE(spans.Recorded(999));
  EXPECT_FALSE(spans.Recorded(-1));
  EXPECT_FALSE(spans.Recorded(5000));
  spans.Clear();
  EXPECT_FALSE(spans.Recorded(0));
  EXPECT_FALSE(spans.Overlaps(0, 0, kTop));
}

}  // namespace
}  // namespace zip
