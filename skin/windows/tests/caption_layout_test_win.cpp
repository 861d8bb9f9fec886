#include "skin/windows/caption_layout_win.h"

#include <gtest/gtest.h>

inline bool operator==(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

namespace skin {
namespace {

TDataSkinSysButton Button(int action, int visibility, int visibility1, int align = 0, int x = 0, int y = 0) {
  TDataSkinSysButton button(u"Button");
  button.Action = action;
  button.Visibility = visibility;
  button.Visibility1 = visibility1;
  button.Align = align;
  button.Xcoord = x;
  button.Ycoord = y;
  return button;
}

TEST(CaptionButtonVisibility, StateCodesFollowTheWindow) {
  TCaptionFacts facts;
  facts.Maximized = true;
  EXPECT_TRUE(CaptionButtonVisible(Button(22, 1, 1), facts));   // restore shows while maximized
  EXPECT_FALSE(CaptionButtonVisible(Button(22, 2, 2), facts));  // maximize does not
  facts.Active = false;
  EXPECT_TRUE(CaptionButtonVisible(Button(40, 4, 0), facts));
  EXPECT_FALSE(CaptionButtonVisible(Button(40, 3, 0), facts));
  EXPECT_FALSE(CaptionButtonVisible(Button(40, 5, 0), facts));
  EXPECT_TRUE(CaptionButtonVisible(Button(40, 201, 2000), facts));
  EXPECT_FALSE(CaptionButtonVisible(Button(40, 2001, 0), facts));
  EXPECT_FALSE(CaptionButtonVisible(Button(40, -1, 0), facts));
}

TEST(CaptionButtonVisibility, BoxesDecideWhateverTheCodesSay) {
  TCaptionFacts facts;
  facts.HasMaximizeBox = false;
  // Codes that would show it everywhere still leave no maximize button.
  EXPECT_FALSE(CaptionButtonVisible(Button(1, 0, 0), facts));
  EXPECT_FALSE(CaptionButtonVisible(Button(1, 201, 201), facts));
  EXPECT_TRUE(CaptionButtonVisible(Button(40, 7, 7), facts));
  facts.HasMinimizeBox = false;
  EXPECT_FALSE(CaptionButtonVisible(Button(2, 0, 0), facts));
  EXPECT_TRUE(CaptionButtonVisible(Button(40, 9, 9), facts));
  // Codes 6 and 8 want the system menu too, the second rule only the box.
  TCaptionFacts noMenu;
  noMenu.HasSystemMenu = false;
  EXPECT_FALSE(CaptionButtonVisible(Button(40, 6, 6), noMenu));
  EXPECT_TRUE(CaptionButtonVisible(Button(40, 201, 6), noMenu));
  EXPECT_TRUE(CaptionButtonVisible(Button(40, 201, 8), noMenu));
  // A close button needs a system menu; other buttons with code 0 do not.
  EXPECT_FALSE(CaptionButtonVisible(Button(0, 0, 0), noMenu));
  EXPECT_TRUE(CaptionButtonVisible(Button(40, 0, 0), noMenu));
  EXPECT_TRUE(CaptionButtonVisible(Button(0, 201, 0), noMenu));
}

TEST(CaptionButtonVisibility, DialogsShowNoIconButtons) {
  TCaptionFacts dialog;
  dialog.DialogFrame = true;
  for (int action : {3, 11, 12}) EXPECT_FALSE(CaptionButtonVisible(Button(action, 0, 0), dialog)) << action;
  EXPECT_TRUE(CaptionButtonVisible(Button(0, 0, 0), dialog));
  EXPECT_TRUE(CaptionButtonVisible(Button(40, 200, 200), dialog));
  dialog.SystemDialog = true;
  EXPECT_FALSE(CaptionButtonVisible(Button(40, 200, 200), dialog));
  EXPECT_FALSE(CaptionButtonVisible(Button(40, 200, 200), TCaptionFacts{}));
}

TEST(CaptionButtonVisibility, MdiButtonsNeedAMaximizedChild) {
  TCaptionFacts facts;
  EXPECT_FALSE(CaptionButtonVisible(Button(60, 100, 100), facts));
  facts.MdiChildMaximized = true;
  EXPECT_TRUE(CaptionButtonVisible(Button(60, 100, 100), facts));
  // The second rule 100 repeats the first one, whatever that is.
  EXPECT_TRUE(CaptionButtonVisible(Button(60, 201, 100), facts));
  EXPECT_FALSE(CaptionButtonVisible(Button(60, 5, 100), facts));
}

TEST(CaptionButtonLayout, AlignPlacesTheFrame) {
  TCaptionMetrics metrics;
  metrics.Width = 300;
  metrics.CaptionTextRect = {40, 5, 140, 20};
  int rightLeft = 0;
  const SIZE frame{18, 16};
  EXPECT_EQ((RECT{6, 4, 24, 20}), CaptionButtonBounds(Button(3, 0, 0, 0, 6, 4), frame, metrics, rightLeft));
  EXPECT_EQ(0, rightLeft);
  EXPECT_EQ((RECT{276, 5, 294, 21}), CaptionButtonBounds(Button(0, 0, 0, 1, 24, 5), frame, metrics, rightLeft));
  EXPECT_EQ((RECT{236, 5, 254, 21}), CaptionButtonBounds(Button(1, 0, 0, 1, 64, 5), frame, metrics, rightLeft));
  EXPECT_EQ(276, rightLeft);  // the largest left edge of the right-aligned ones
  EXPECT_EQ((RECT{20, 2, 38, 18}), CaptionButtonBounds(Button(40, 0, 0, 2, 2, 2), frame, metrics, rightLeft));
  EXPECT_EQ((RECT{143, 2, 161, 18}), CaptionButtonBounds(Button(40, 0, 0, 9, 3, 2), frame, metrics, rightLeft));
  EXPECT_EQ((RECT{0, 0, 18, 16}), CaptionButtonBounds(Button(40, 0, 0, 7, 3, 2), frame, metrics, rightLeft));
}

TEST(CaptionButtonLayout, MdiButtonsSitInTheMenuBar) {
  TCaptionMetrics metrics;
  metrics.Width = 400;
  metrics.FrameLeft = 4;
  metrics.FrameTop = 24;
  metrics.FrameRight = 5;
  metrics.MenuHeight = 20;
  metrics.MenuBarLeftMargin = 2;
  int rightLeft = 0;
  const SIZE frame{16, 14};
  const TDataSkinSysButton button = Button(60, 100, 100, 100, 20, 0);
  EXPECT_EQ((RECT{373, 27, 389, 41}), CaptionButtonBounds(button, frame, metrics, rightLeft));
  metrics.RightToLeftCaption = true;
  EXPECT_EQ((RECT{26, 27, 42, 41}), CaptionButtonBounds(button, frame, metrics, rightLeft));
  EXPECT_EQ(0, rightLeft);
}

}  // namespace
}  // namespace skin
