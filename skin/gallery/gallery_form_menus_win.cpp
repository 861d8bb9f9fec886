// The gallery's menus: a menu bar whose menus hold every kind of item the
// skin draws (separators first, twice and last, which the skin hides;
// checked, disabled and default items; shortcuts; sub-menus) and a
// top-level item without sub-items, and the form's context menu.
#include "skin/gallery/gallery_form_win.h"

namespace gallery {

namespace {

struct TEntry {
  const char16_t* Caption;
  int32_t ShortCut = 0;
  bool Checked = false;
  bool Enabled = true;
  bool Default = false;
};

}  // namespace

gui::TMenuItem* TGalleryForm::AddMenuItem(gui::TMenuItem* parent, const rt::WideString& name,
                                          const rt::WideString& caption) {
  auto* item = new gui::TMenuItem(this);
  if (!name.empty()) item->SetName(name);
  item->SetCaption(caption);
  // Commands only: an item with sub-items is clicked when its menu opens.
  item->OnClick = [this](rt::TObject* sender) {
    auto* clicked = dynamic_cast<gui::TMenuItem*>(sender);
    if (!clicked || clicked->Count() > 0) return;
    LastClickedItem = clicked;
    ++MenuClicks;
  };
  parent->Add(item);
  return item;
}

void TGalleryForm::BuildMenus() {
  MainMenu = new gui::TMainMenu(this);
  MainMenu->SetName(u"MainMenu");
  gui::TMenuItem* bar = MainMenu->Items();
  const auto fill = [this](gui::TMenuItem* menu, std::initializer_list<TEntry> items) {
    for (const TEntry& entry : items) {
      gui::TMenuItem* item = AddMenuItem(menu, {}, entry.Caption);
      item->SetShortCut(entry.ShortCut);
      item->SetChecked(entry.Checked);
      item->SetEnabled(entry.Enabled);
      item->SetDefault(entry.Default);
    }
  };

  FileMenu = AddMenuItem(bar, u"FileMenu", u"&Archivo");
  fill(FileMenu, {{u"-"},
                  {u"-"},
                  {u"&Nuevo", gui::ShortCut('N', gui::scCtrl), false, true, true},
                  {u"&Abrir...", gui::ShortCut('O', gui::scCtrl)},
                  {u"-"},
                  {u"-"},
                  {u"&Guardar", gui::ShortCut('S', gui::scCtrl), true},
                  {u"&Imprimir", gui::ShortCut('P', gui::scCtrl), false, false}});
  RecentMenu = AddMenuItem(FileMenu, u"RecentMenu", u"&Recientes");
  fill(RecentMenu, {{u"uno.txt"}, {u"dos.txt"}});
  fill(FileMenu, {{u"-"}});

  EditMenu = AddMenuItem(bar, u"EditMenu", u"&Edición");
  fill(EditMenu, {{u"Cor&tar", gui::ShortCut('X', gui::scCtrl)},
                  {u"&Copiar", gui::ShortCut('C', gui::scCtrl)},
                  {u"&Pegar", gui::ShortCut('V', gui::scCtrl), false, false}});

  ViewMenu = AddMenuItem(bar, u"ViewMenu", u"&Ver");
  fill(ViewMenu, {{u"Barra de &herramientas", 0, true}, {u"Barra de &estado", 0, true}, {u"-"}});
  gui::TMenuItem* zoom = AddMenuItem(ViewMenu, u"ZoomMenu", u"&Zoom");
  fill(zoom, {{u"100 %"}, {u"200 %", gui::ShortCut(VK_F5, 0)}});

  HelpItem = AddMenuItem(bar, u"HelpItem", u"A&yuda");
  SetMenu(MainMenu);

  ContextMenu = new gui::TPopupMenu(this);
  ContextMenu->SetName(u"ContextMenu");
  fill(ContextMenu->Items(), {{u"&Copiar", gui::ShortCut('C', gui::scCtrl)},
                              {u"-"},
                              {u"&Propiedades", 0, false, true, true},
                              {u"&Desactivado", 0, false, false}});
  SetPopupMenu(ContextMenu);
}

}  // namespace gallery
