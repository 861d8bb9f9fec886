// How long a skinned frame takes to repaint, against the system painting
// the frame of the same window unskinned, measured in one run:
//
//   frame_repaint_bench SKINFILE [REPAINTS]
//
// Two forms of the installer's size are shown; one is skinned, the other
// keeps the system frame (Tag 99). Each is repainted REPAINTS times.
#include <windows.h>

#include <chrono>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "runtime/gui/application.h"
#include "skin/data/skin_data.h"
#include "skin/engine/skin_engine_win.h"
#include "skin/windows/skin_private_messages_win.h"

namespace {

void Pump(gui::TApplication& application, DWORD ms) {
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < ms) {
    application.ProcessMessages();
    Sleep(5);
  }
}

gui::TForm* ShowForm(gui::TApplication& application, intptr_t tag, int left) {
  auto* form = new gui::TForm(&application);
  form->SetTag(tag);
  form->SetBorderStyle(gui::bsSingle);
  form->SetBounds(left, 40, 719, 454);
  form->SetCaption(u"El Quimora");
  form->Show();
  SetForegroundWindow(form->Handle());
  Pump(application, 150);
  return form;
}

double RepaintMilliseconds(HWND window, int repaints) {
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < repaints; ++i) RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: frame_repaint_bench SKINFILE [REPAINTS]\n");
    return 2;
  }
  const int repaints = argc > 2 ? std::max(1, _wtoi(argv[2])) : 300;
  gui::TApplication application;
  skin::RegisterSkinEngine();
  auto* host = new gui::TForm(&application);
  auto* data = new skin::TSkinData(host);
  data->SetSkinFile(reinterpret_cast<const char16_t*>(argv[1]));
  data->Loaded();
  data->SetActive(true);
  if (data->NoSkin()) {
    std::fprintf(stderr, "no skin in the file\n");
    return 1;
  }
  gui::TForm* plain = ShowForm(application, 99, 10);
  gui::TForm* skinned = ShowForm(application, 0, 260);
  if (SendMessageW(skinned->WindowHandle(), skin::SKINMSG_QUERY, 0, 0) != 1 ||
      SendMessageW(plain->WindowHandle(), skin::SKINMSG_QUERY, 0, 0) == 1) {
    std::fprintf(stderr, "the forms are not skinned as asked\n");
    return 1;
  }
  // Both measured twice, alternating, the better of each kept.
  double system = 1e300, skin = 1e300;
  for (int round = 0; round < 2; ++round) {
    SetForegroundWindow(plain->WindowHandle());
    Pump(application, 50);
    system = std::min(system, RepaintMilliseconds(plain->WindowHandle(), repaints));
    SetForegroundWindow(skinned->WindowHandle());
    Pump(application, 50);
    skin = std::min(skin, RepaintMilliseconds(skinned->WindowHandle(), repaints));
  }
  std::printf("frame repaint, %d times, 719x454: system frame %.1f ms (%.3f ms each), skinned frame %.1f ms "
              "(%.3f ms each); skinned/system %.2f\n",
              repaints, system, system / repaints, skin, skin / repaints, skin / system);
  return 0;
}
