// Which caption buttons a window shows and where they go: the rules that
// follow from the window's styles and state, kept apart from drawing.
#pragma once

#include <windows.h>

#include "skin/definition/skin_objects.h"

namespace skin {

// What the caption-button rules ask of a window.
struct TCaptionFacts {
  bool HasSystemMenu = true;
  bool HasMaximizeBox = true;
  bool HasMinimizeBox = true;
  bool Maximized = false;
  bool Active = true;
  bool DialogFrame = false;    // a dialog's frame: no icon, no extra buttons
  bool SystemDialog = false;   // a system dialog or message form
  // An MDI frame whose active child is maximized, with a menu bar.
  bool MdiChildMaximized = false;
};

// Visibility codes: 0 always (but a close button wants a system menu),
// 1/2 maximized or not, 3/4 active or not, 5 never, 6..9 by the boxes,
// 100 the MDI buttons of a frame with a maximized child, 200 dialogs
// that are not system dialogs, 201..2000 always; others never. first
// picks the Visibility rule, otherwise Visibility1's.
bool VisibilityCondition(int code, int action, bool first, const TCaptionFacts& facts);
bool CaptionButtonVisible(const TDataSkinSysButton& button, const TCaptionFacts& facts);

// Where the frames of the window sit, for the buttons placed in the menu
// bar (Align 100).
struct TCaptionMetrics {
  int Width = 0;            // the window's width
  RECT CaptionTextRect{};   // the caption text's block
  int FrameLeft = 0, FrameTop = 0, FrameRight = 0;
  int MenuHeight = 0;
  int MenuBarLeftMargin = 0;
  bool RightToLeftCaption = false;
};

// A button's rectangle (window coordinates) for a frame of that size.
// rightButtonsLeft keeps the largest left edge of the right-aligned
// buttons.
RECT CaptionButtonBounds(const TDataSkinSysButton& button, SIZE frame, const TCaptionMetrics& metrics,
                         int& rightButtonsLeft);

}  // namespace skin
