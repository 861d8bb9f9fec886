#include "runtime/task_windows_disabler_win.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "runtime/tests/test_windows_win.h"

namespace rt {
namespace {

bool Enabled(const TOwnedWindow& window) { return IsWindowEnabled(window.get()) != FALSE; }

TEST(TaskWindowsDisabler, DisablesTheVisibleEnabledWindowsButTheExceptOne) {
  const TOwnedWindow plain = MakeTopLevelWindow();
  const TOwnedWindow modal = MakeTopLevelWindow();
  const TOwnedWindow hidden = MakeTopLevelWindow(false);
  const TOwnedWindow child(CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, plain.get(),
                                           nullptr, GetModuleHandleW(nullptr), nullptr));
  ASSERT_TRUE(plain && modal && hidden && child);
  {
    TTaskWindowsDisabler disabler(modal.get());
    EXPECT_FALSE(Enabled(plain));
    EXPECT_TRUE(Enabled(modal));
    EXPECT_TRUE(Enabled(hidden));
    // A child follows its top-level window; it is not disabled itself.
    EXPECT_TRUE(Enabled(child));
  }
  EXPECT_TRUE(Enabled(plain));
}

TEST(TaskWindowsDisabler, EnablesAgainOnlyWhatItDisabled) {
  const TOwnedWindow plain = MakeTopLevelWindow();
  const TOwnedWindow alreadyDisabled = MakeTopLevelWindow();
  EnableWindow(alreadyDisabled.get(), FALSE);
  {
    TTaskWindowsDisabler disabler;
    EXPECT_FALSE(Enabled(plain));
    // A window shown while the modal one is up is not the disabler's.
    const TOwnedWindow later = MakeTopLevelWindow();
    disabler.Restore();
    EXPECT_TRUE(Enabled(plain));
    EXPECT_FALSE(Enabled(alreadyDisabled));
    EXPECT_TRUE(Enabled(later));
    // Restore has run: what is disabled after it stays so, also when the
    // disabler goes.
    EnableWindow(plain.get(), FALSE);
    disabler.Restore();
    EXPECT_FALSE(Enabled(plain));
  }
  EXPECT_FALSE(Enabled(plain));
  EXPECT_FALSE(Enabled(alreadyDisabled));
}

TEST(TaskWindowsDisabler, SurvivesAWindowDestroyedMeanwhileAndRestoresOnAnException) {
  const TOwnedWindow kept = MakeTopLevelWindow();
  TOwnedWindow destroyed = MakeTopLevelWindow();
  EXPECT_THROW(
      {
        TTaskWindowsDisabler disabler;
        EXPECT_FALSE(Enabled(kept));
        destroyed.reset();
        throw std::runtime_error("the modal window failed");
      },
      std::runtime_error);
  EXPECT_TRUE(Enabled(kept));
}

}  // namespace
}  // namespace rt
