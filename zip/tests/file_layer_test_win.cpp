// How the Windows file layer hands names to the system: short ones as they
// are, long ones in the form that no length limit applies to.
#include <windows.h>

#include <gtest/gtest.h>

#include "runtime/wide_text_win.h"
#include "zip/file_layer.h"
#include "zip/tests/test_files.h"

namespace zip {
namespace {

// Restores the current folder when it goes.
class CurrentFolder {
 public:
  explicit CurrentFolder(const WideString& folder) {
    GetCurrentDirectoryW(MAX_PATH, previous_);
    SetCurrentDirectoryW(rt::AsWchar(folder));
  }
  ~CurrentFolder() { SetCurrentDirectoryW(previous_); }

 private:
  wchar_t previous_[MAX_PATH] = {};
};

TEST(FsSystemName, LongNamesTakeTheExtendedFormShortOnesStayAsTheyAre) {
  const WideString longFolder = u"C:\\" + WideString(150, u'x') + u"/" + WideString(150, u'y');
  EXPECT_EQ(FsSystemName(u"C:\\quimora\\a.txt"), u"C:\\quimora\\a.txt");
  EXPECT_EQ(FsSystemName(u"C:/quimora/./a.txt"), u"C:/quimora/./a.txt");
  EXPECT_EQ(FsSystemName(longFolder + u"\\z\\..\\a.txt "),
            u"\\\\?\\C:\\" + WideString(150, u'x') + u"\\" + WideString(150, u'y') + u"\\a.txt");
  EXPECT_EQ(FsSystemName(u"\\\\server\\share\\" + WideString(300, u'n')),
            u"\\\\?\\UNC\\server\\share\\" + WideString(300, u'n'));
  const WideString extended = u"\\\\?\\C:\\" + WideString(300, u'e');
  EXPECT_EQ(FsSystemName(extended), extended);
}

TEST(FsSystemName, RelativeNamesAreLongWhenTheCurrentFolderMakesThemSo) {
  testing::TempFolder temp("relative");
  const CurrentFolder inTemp(temp.Name());
  EXPECT_EQ(FsSystemName(u"a.txt"), u"a.txt");
  const WideString deep(300, u'r');
  EXPECT_EQ(FsSystemName(deep), u"\\\\?\\" + temp.Name() + u"\\" + deep);
  EXPECT_EQ(FsSystemName(u"sub\\..\\" + deep), u"\\\\?\\" + temp.Name() + u"\\" + deep);
  // A folder name taken from the current drive's root.
  const WideString drive = temp.Name().substr(0, 2);
  EXPECT_EQ(FsSystemName(u"\\" + deep), u"\\\\?\\" + drive + u"\\" + deep);
}

}  // namespace
}  // namespace zip
