#include "zip/zip_dialogs.h"

#include <gtest/gtest.h>

#include "runtime/stock_texts.h"

namespace zip {
namespace {

TEST(ZipDialogs, OfferTheButtonsOfTheSetInTheirOrderAndOkForNone) {
  EXPECT_EQ(OfferedButtons(ButtonSet({mbYesToAll, mbNo, mbYes, mbCancel})),
            (std::vector<TZipMsgDlgBtn>{mbYes, mbNo, mbCancel, mbYesToAll}));
  EXPECT_EQ(OfferedButtons(ButtonSet({mbRetry})), std::vector<TZipMsgDlgBtn>{mbRetry});
  EXPECT_EQ(OfferedButtons(0), std::vector<TZipMsgDlgBtn>{mbOK});
}

TEST(ZipDialogs, EachButtonAndDialogTypeHasItsOwnText) {
  EXPECT_EQ(WideStringView(ButtonCaption(mbYes)), rt::kSMsgDlgYes);
  EXPECT_EQ(WideStringView(ButtonCaption(mbIgnore)), rt::kSMsgDlgIgnore);
  EXPECT_EQ(WideStringView(ButtonCaption(mbYesToAll)), rt::kSMsgDlgYesToAll);
  EXPECT_EQ(WideStringView(DialogTitle(mtWarning)), rt::kSMsgDlgWarning);
  EXPECT_EQ(WideStringView(DialogTitle(mtConfirmation)), rt::kSMsgDlgConfirm);
}

}  // namespace
}  // namespace zip
