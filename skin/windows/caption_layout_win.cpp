#include "skin/windows/caption_layout_win.h"

namespace skin {

bool VisibilityCondition(int code, int action, bool first, const TCaptionFacts& f) {
  switch (code) {
    case 0: return !(first && action == 0 && !f.HasSystemMenu);
    case 1: return f.Maximized;
    case 2: return !f.Maximized;
    case 3: return f.Active;
    case 4: return !f.Active;
    case 5: return false;
    case 6: return f.HasMaximizeBox && (!first || f.HasSystemMenu);
    case 7: return !f.HasMaximizeBox;
    case 8: return f.HasMinimizeBox && (!first || f.HasSystemMenu);
    case 9: return !f.HasMinimizeBox;
    case 100: return f.MdiChildMaximized;
    case 200: return f.DialogFrame && !f.SystemDialog;
    default: return code >= 201 && code <= 2000;
  }
}

bool CaptionButtonVisible(const TDataSkinSysButton& button, const TCaptionFacts& facts) {
  const bool a = VisibilityCondition(button.Visibility, button.Action, true, facts);
  // Visibility1's code 100 asks the same as Visibility's.
  const bool b = button.Visibility1 == 100 ? a : VisibilityCondition(button.Visibility1, button.Action, false, facts);
  bool visible = a && b;
  if (button.Action == 1 && !facts.HasMaximizeBox) visible = false;
  if (button.Action == 2 && !facts.HasMinimizeBox) visible = false;
  if ((button.Action == 3 || button.Action == 11 || button.Action == 12) && facts.DialogFrame) visible = false;
  return visible;
}

RECT CaptionButtonBounds(const TDataSkinSysButton& button, SIZE frame, const TCaptionMetrics& m,
                         int& rightButtonsLeft) {
  int x = 0;
  int y = 0;
  switch (button.Align) {
    case 0:
      x = button.Xcoord;
      y = button.Ycoord;
      break;
    case 1:
      x = m.Width - button.Xcoord;
      y = button.Ycoord;
      if (x > 0 && x > rightButtonsLeft) rightButtonsLeft = x;
      break;
    case 2:
    case 8:
      x = m.CaptionTextRect.left - frame.cx - button.Xcoord;
      y = button.Ycoord;
      break;
    case 3:
    case 9:
      x = m.CaptionTextRect.right + button.Xcoord;
      y = button.Ycoord;
      break;
    case 100:
      y = m.FrameTop + (m.MenuHeight - frame.cy) / 2;
      x = m.RightToLeftCaption ? button.Xcoord + m.MenuBarLeftMargin + m.FrameLeft
                               : m.Width - button.Xcoord - m.FrameRight - m.MenuBarLeftMargin;
      break;
    default:
      break;
  }
  return {x, y, x + frame.cx, y + frame.cy};
}

}  // namespace skin
