// How long a skinned frame and a skinned push button take to repaint,
// against the system painting the same unskinned, measured in one run:
//
//   frame_repaint_bench SKINFILE [REPAINTS]
//
// Two forms of the installer's size are shown, each with a push button of
// the installer's size; one form is skinned, the other keeps the system
// look (Tag 99). Each frame and each button is repainted REPAINTS times.
// Then the same with a menu bar of four menus on both forms: the system's
// bar against the skinned one.
#include <windows.h>

#include <chrono>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "runtime/gui/application.h"
#include "runtime/gui/button.h"
#include "runtime/gui/menus.h"
#include "runtime/wide_text_win.h"
#include "skin/data/skin_data_win.h"
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

void AddMenuBar(gui::TForm* form) {
  auto* menu = new gui::TMainMenu(form);
  for (const char16_t* caption : {u"&Archivo", u"&Edición", u"&Ver", u"A&yuda"}) {
    auto* top = new gui::TMenuItem(form);
    top->SetCaption(caption);
    auto* item = new gui::TMenuItem(form);
    item->SetCaption(u"&Abrir");
    top->Add(item);
    menu->Items()->Add(top);
  }
  form->SetMenu(menu);
}

gui::TForm* ShowForm(gui::TApplication& application, intptr_t tag, int left, bool menuBar = false) {
  auto* form = new gui::TForm(&application);
  if (menuBar) AddMenuBar(form);
  form->SetTag(tag);
  form->SetBorderStyle(gui::bsSingle);
  form->SetBounds(left, 40, 719, 454);
  form->SetCaption(u"El Quimora");
  auto* button = new gui::TButton(form);
  button->SetParent(form);
  button->SetBounds(440, 296, 75, 25);
  button->SetCaption(u"Instalar");
  form->Show();
  SetForegroundWindow(form->Handle());
  Pump(application, 150);
  return form;
}

double RepaintMilliseconds(HWND window, int repaints, UINT flags) {
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < repaints; ++i) RedrawWindow(window, nullptr, nullptr, flags | RDW_INVALIDATE | RDW_UPDATENOW);
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
  data->SetSkinFile(rt::AsChar16(argv[1]));
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
  auto buttonOf = [](gui::TForm* form) {
    for (int i = 0; i < form->ComponentCount(); ++i)
      if (auto* button = dynamic_cast<gui::TButton*>(form->Component(i))) return button->Handle();
    return HWND{};
  };
  double system = 1e300, skin = 1e300, systemButton = 1e300, skinButton = 1e300;
  for (int round = 0; round < 2; ++round) {
    SetForegroundWindow(plain->WindowHandle());
    Pump(application, 50);
    system = std::min(system, RepaintMilliseconds(plain->WindowHandle(), repaints, RDW_FRAME));
    systemButton = std::min(systemButton, RepaintMilliseconds(buttonOf(plain), repaints, RDW_ERASE));
    SetForegroundWindow(skinned->WindowHandle());
    Pump(application, 50);
    skin = std::min(skin, RepaintMilliseconds(skinned->WindowHandle(), repaints, RDW_FRAME));
    skinButton = std::min(skinButton, RepaintMilliseconds(buttonOf(skinned), repaints, RDW_ERASE));
  }
  std::printf("frame repaint, %d times, 719x454: system frame %.1f ms (%.3f ms each), skinned frame %.1f ms "
              "(%.3f ms each); skinned/system %.2f\n",
              repaints, system, system / repaints, skin, skin / repaints, skin / system);
  std::printf("push button repaint, %d times, 75x25: system %.1f ms (%.3f ms each), skinned %.1f ms "
              "(%.3f ms each); skinned/system %.2f\n",
              repaints, systemButton, systemButton / repaints, skinButton, skinButton / repaints,
              skinButton / systemButton);

  delete plain;
  delete skinned;
  gui::TForm* plainBar = ShowForm(application, 99, 10, true);
  gui::TForm* skinnedBar = ShowForm(application, 0, 260, true);
  if (SendMessageW(skinnedBar->WindowHandle(), skin::SKINMSG_QUERY, 0, 0) != 1 || GetMenu(skinnedBar->WindowHandle()) ||
      !GetMenu(plainBar->WindowHandle())) {
    std::fprintf(stderr, "the forms with menu bars are not skinned as asked\n");
    return 1;
  }
  double systemBar = 1e300, skinBar = 1e300;
  for (int round = 0; round < 2; ++round) {
    SetForegroundWindow(plainBar->WindowHandle());
    Pump(application, 50);
    systemBar = std::min(systemBar, RepaintMilliseconds(plainBar->WindowHandle(), repaints, RDW_FRAME));
    SetForegroundWindow(skinnedBar->WindowHandle());
    Pump(application, 50);
    skinBar = std::min(skinBar, RepaintMilliseconds(skinnedBar->WindowHandle(), repaints, RDW_FRAME));
  }
  std::printf("frame repaint with a menu bar of 4 menus, %d times: system %.1f ms (%.3f ms each), skinned %.1f ms "
              "(%.3f ms each); skinned/system %.2f\n",
              repaints, systemBar, systemBar / repaints, skinBar, skinBar / repaints, skinBar / systemBar);
  return 0;
}
