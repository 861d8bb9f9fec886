// The gallery's foreign dialog: a modeless dialog of system controls made
// from a template in memory, which the skin engine meets as a window it
// did not create. It holds push buttons, check and radio boxes, a group
// frame, combo boxes (one of the extended kind), an edit box, a size grip,
// a button it draws itself and a dialog nested inside it.
#pragma once

#include <windows.h>

namespace gallery {

// Control ids of the dialog.
enum TForeignDialogId : int {
  idAccept = 1001, idCancel = 1002, idCheck = 1003, idThreeState = 1004, idRadioA = 1005, idRadioB = 1006,
  idFrame = 1007, idCombo = 1008, idEdit = 1009, idSizeGrip = 1010, idOwnerDrawn = 1011, idComboEx = 1012,
  idNested = 1013, idNestedButton = 2001
};

class TForeignDialog {
 public:
  TForeignDialog() = default;
  ~TForeignDialog();
  TForeignDialog(const TForeignDialog&) = delete;
  TForeignDialog& operator=(const TForeignDialog&) = delete;

  // Makes and shows the dialog, owned by owner, unless it is open;
  // returns its window. Raises rt::Exception when Windows refuses.
  HWND Open(HWND owner);
  // The open dialog, or nullptr.
  HWND Handle() const { return window_; }

 private:
  static INT_PTR CALLBACK DialogProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
  void Initialize(HWND window);
  void CreateComboBoxEx();
  void CreateNestedDialog();

  HWND window_ = nullptr;
};

}  // namespace gallery
