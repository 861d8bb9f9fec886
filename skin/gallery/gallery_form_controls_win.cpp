// The gallery's controls, column by column. Every control the tests name
// is owned by the form and carries its member's name.
#include <string>

#include "runtime/gui/label.h"
#include "skin/gallery/gallery_column_win.h"
#include "skin/gallery/gallery_form_win.h"
#include "skin/gallery/gallery_glyph_win.h"

namespace gallery {

namespace {

constexpr int32_t kButtonHeight = 25;
constexpr int32_t kLineHeight = 21;
constexpr int32_t kBoxHeight = 17;

std::vector<rt::WideString> NumberedTexts(const rt::WideString& prefix, int count) {
  std::vector<rt::WideString> texts;
  for (int i = 1; i <= count; ++i) {
    const std::string number = std::to_string(i);
    texts.push_back(prefix + rt::WideString(number.begin(), number.end()));
  }
  return texts;
}

// Every fifth line runs past the memo's width, for the horizontal bar.
std::vector<rt::WideString> MemoLines() {
  std::vector<rt::WideString> lines = NumberedTexts(u"Línea ", 60);
  for (size_t i = 0; i < lines.size(); i += 5)
    lines[i] += u": una línea bastante más larga que el ancho de la caja de texto";
  return lines;
}

std::vector<rt::WideString> ListItems() {
  std::vector<rt::WideString> items;
  const std::vector<rt::WideString> names = NumberedTexts(u"archivo", 40);
  for (size_t i = 0; i < names.size(); ++i) {
    const std::string size = std::to_string((i + 1) * 12);
    items.push_back(names[i] + u".txt|" + rt::WideString(size.begin(), size.end()) + u" KB|" +
                    (i % 3 == 0 ? u"Texto" : i % 3 == 1 ? u"Imagen" : u"Datos"));
  }
  return items;
}

}  // namespace

void TGalleryForm::BuildBars() {
  // Created in this order so that the tool bar is the topmost line.
  ToolBar = Make<gui::TToolBar>(u"ToolBar", this);
  ToolBar->AddButton(u"Nuevo", [this](rt::TObject*) { StatusBar->SetPanelText(0, u"Nuevo"); });
  ToolBar->AddButton(u"Abrir", [this](rt::TObject*) { StatusBar->SetPanelText(0, u"Abrir"); });
  ToolBar->AddButton(u"Guardar", [this](rt::TObject*) { StatusBar->SetPanelText(0, u"Guardar"); });

  HeaderControl = Make<gui::THeaderControl>(u"HeaderControl", this);
  HeaderControl->SetSections({u"Nombre=200", u"Tamaño=100", u"Modificado=150"});

  StatusBar = Make<gui::TStatusBar>(u"StatusBar", this);
  StatusBar->AddPanel(u"Listo", 150);
  StatusBar->AddPanel(u"Todos los pintores de controles", 260);
  StatusBar->AddPanel(u"Galería de pieles", -1);
}

void TGalleryForm::BuildButtonColumn(TColumn column) {
  CaptionAbove(column, u"Botones");
  NormalButton = Make<gui::TButton>(u"NormalButton", this);
  NormalButton->SetCaption(u"Normal");
  DefaultButton = Make<gui::TButton>(u"DefaultButton", this);
  DefaultButton->SetCaption(u"Predeterminado");
  DefaultButton->SetDefault(true);
  column.PlaceRow({NormalButton, DefaultButton}, kButtonHeight);

  DisabledButton = Make<gui::TButton>(u"DisabledButton", this);
  DisabledButton->SetCaption(u"Desactivado");
  DisabledButton->SetEnabled(false);
  DialogButton = Make<gui::TButton>(u"DialogButton", this);
  DialogButton->SetCaption(u"Diálogo…");
  DialogButton->OnClick = [this](rt::TObject*) { OpenForeignDialog(); };
  column.PlaceRow({DisabledButton, DialogButton}, kButtonHeight);

  // Tag 99 is the skin data's DisableTag: that button keeps the system's look.
  Tag99Button = Make<gui::TButton>(u"Tag99Button", this);
  Tag99Button->SetCaption(u"Etiqueta 99");
  Tag99Button->SetTag(99);
  Tag199Button = Make<gui::TButton>(u"Tag199Button", this);
  Tag199Button->SetCaption(u"Etiqueta 199");
  Tag199Button->SetTag(199);
  column.PlaceRow({Tag99Button, Tag199Button}, kButtonHeight);

  TwoLineButton = Make<gui::TButton>(u"TwoLineButton", this);
  TwoLineButton->SetCaption(u"Dos||líneas");
  GlyphButton = Make<gui::TBitBtn>(u"GlyphButton", this);
  GlyphButton->SetCaption(u"Imagen");
  GlyphButton->Glyph().LoadBitmap(DrawTwoFrameGlyph());
  GlyphButton->SetNumGlyphs(2);
  column.PlaceRow({TwoLineButton, GlyphButton}, 40);

  BuildPanel(column);

  CaptionAbove(column, u"Casillas");
  UncheckedBox = Make<gui::TCheckBox>(u"UncheckedBox", this);
  UncheckedBox->SetCaption(u"Sin marcar");
  CheckedBox = Make<gui::TCheckBox>(u"CheckedBox", this);
  CheckedBox->SetCaption(u"Marcada");
  CheckedBox->SetChecked(true);
  column.PlaceRow({UncheckedBox, CheckedBox}, kBoxHeight);
  GrayedBox = Make<gui::TCheckBox>(u"GrayedBox", this);
  GrayedBox->SetCaption(u"Indeterminada");
  GrayedBox->SetAllowGrayed(true);
  GrayedBox->SetState(gui::cbGrayed);
  DisabledCheckBox = Make<gui::TCheckBox>(u"DisabledCheckBox", this);
  DisabledCheckBox->SetCaption(u"Desactivada");
  DisabledCheckBox->SetChecked(true);
  DisabledCheckBox->SetEnabled(false);
  column.PlaceRow({GrayedBox, DisabledCheckBox}, kBoxHeight);
  Tag99CheckBox = Make<gui::TCheckBox>(u"Tag99CheckBox", this);
  Tag99CheckBox->SetCaption(u"Etiqueta 99");
  Tag99CheckBox->SetTag(99);
  column.Place(Tag99CheckBox, kBoxHeight);

  CaptionAbove(column, u"Barras");
  HorizontalScrollBar = Make<gui::TScrollBar>(u"HorizontalScrollBar", this);
  HorizontalScrollBar->SetKind(gui::sbHorizontal);
  HorizontalScrollBar->SetPageSize(10);
  HorizontalScrollBar->SetParams(30, 0, 100);
  column.Place(HorizontalScrollBar, 17);
  ProgressBar = Make<gui::TProgressBar>(u"ProgressBar", this);
  ProgressBar->SetPosition(60);
  column.Place(ProgressBar, 17);
  TrackBar = Make<gui::TTrackBar>(u"TrackBar", this);
  TrackBar->SetMax(10);
  TrackBar->SetPosition(3);
  column.Place(TrackBar, 32);
}

void TGalleryForm::BuildPanel(TColumn& column) {
  CaptionAbove(column, u"Panel con botones rápidos");
  Panel = Make<gui::TPanel>(u"Panel", this);
  Panel->SetCaption(u"Panel");
  column.Place(Panel, 76);
  // The buttons keep to the panel's lower half, clear of its centred caption.
  TColumn inside(6, 46, Panel->Width() - 12);
  SpeedButton = Make<gui::TSpeedButton>(u"SpeedButton", Panel);
  SpeedButton->SetCaption(u"Rápido");
  FlatSpeedButton = Make<gui::TSpeedButton>(u"FlatSpeedButton", Panel);
  FlatSpeedButton->SetCaption(u"Plano");
  FlatSpeedButton->SetFlat(true);
  DownSpeedButton = Make<gui::TSpeedButton>(u"DownSpeedButton", Panel);
  DownSpeedButton->SetCaption(u"Hundido");
  DownSpeedButton->SetGroupIndex(1);
  DownSpeedButton->SetDown(true);
  inside.PlaceRow({SpeedButton, FlatSpeedButton, DownSpeedButton}, 24);
}

void TGalleryForm::BuildChoiceColumn(TColumn column) {
  CaptionAbove(column, u"Radio");
  GroupBox = Make<gui::TGroupBox>(u"GroupBox", this);
  GroupBox->SetCaption(u"Grupo");
  column.Place(GroupBox, 66);
  TColumn inside(10, 20, GroupBox->Width() - 20);
  RadioOne = Make<gui::TRadioButton>(u"RadioOne", GroupBox);
  RadioOne->SetCaption(u"Radio uno");
  RadioOne->SetChecked(true);
  inside.Place(RadioOne, kBoxHeight, 4);
  RadioTwo = Make<gui::TRadioButton>(u"RadioTwo", GroupBox);
  RadioTwo->SetCaption(u"Radio dos");
  inside.Place(RadioTwo, kBoxHeight);

  RadioGroup = Make<gui::TRadioGroup>(u"RadioGroup", this);
  RadioGroup->SetCaption(u"Grupo de radio");
  RadioGroup->SetItems({u"Primera", u"Segunda", u"Tercera"});
  RadioGroup->SetItemIndex(1);
  column.Place(RadioGroup, 84);

  CaptionAbove(column, u"Cajas de texto");
  BorderEdit = Make<gui::TEdit>(u"BorderEdit", this);
  BorderEdit->SetText(u"Con borde");
  column.Place(BorderEdit, kLineHeight);
  BorderlessEdit = Make<gui::TEdit>(u"BorderlessEdit", this);
  BorderlessEdit->SetBorderStyle(gui::bsNoBorder);
  BorderlessEdit->SetText(u"Sin borde");
  column.Place(BorderlessEdit, kLineHeight);
  DisabledEdit = Make<gui::TEdit>(u"DisabledEdit", this);
  DisabledEdit->SetText(u"Desactivada");
  DisabledEdit->SetEnabled(false);
  column.Place(DisabledEdit, kLineHeight);
  SpinEdit = Make<gui::TEdit>(u"SpinEdit", this);
  column.Place(SpinEdit, kLineHeight);
  UpDown = Make<gui::TUpDown>(u"UpDown", this);
  UpDown->SetMax(20);
  UpDown->SetPosition(5);
  UpDown->SetAssociate(SpinEdit);

  CaptionAbove(column, u"Combos");
  DropDownCombo = Make<gui::TComboBox>(u"DropDownCombo", this);
  DropDownCombo->SetStyle(gui::csDropDown);
  DropDownCombo->SetItems(NumberedTexts(u"Escribible ", 10));
  DropDownCombo->SetText(u"Se puede escribir");
  column.Place(DropDownCombo, kLineHeight);
  ListCombo = Make<gui::TComboBox>(u"ListCombo", this);
  ListCombo->SetStyle(gui::csDropDownList);
  ListCombo->SetItems(NumberedTexts(u"Elemento ", 10));
  ListCombo->SetItemIndex(0);
  column.Place(ListCombo, kLineHeight);
  DisabledCombo = Make<gui::TComboBox>(u"DisabledCombo", this);
  DisabledCombo->SetStyle(gui::csDropDownList);
  DisabledCombo->SetItems({u"Desactivado"});
  DisabledCombo->SetItemIndex(0);
  DisabledCombo->SetEnabled(false);
  column.Place(DisabledCombo, kLineHeight);
}

void TGalleryForm::BuildListColumn(TColumn column) {
  CaptionAbove(column, u"Memo");
  Memo = Make<gui::TMemo>(u"Memo", this);
  Memo->SetScrollBars(gui::ssBoth);
  Memo->SetWordWrap(false);
  Memo->SetLines(MemoLines());
  column.Place(Memo, 130);

  CaptionAbove(column, u"Lista");
  ListView = Make<gui::TListView>(u"ListView", this);
  ListView->SetViewStyle(gui::vsReport);
  ListView->SetColumns({u"Archivo=90", u"Tamaño=60", u"Tipo=60"});
  ListView->SetItems(ListItems());
  column.Place(ListView, 160);

  CaptionAbove(column, u"Pestañas");
  TabSet = Make<gui::TTabSet>(u"TabSet", this);
  TabSet->SetTabs({u"Hoja 1", u"Hoja 2", u"Hoja 3"});
  TabSet->SetTabIndex(0);
  column.Place(TabSet, 26);
  TabControl = Make<gui::TTabControl>(u"TabControl", this);
  TabControl->SetTabs({u"Rojo", u"Verde", u"Azul"});
  TabControl->SetTabIndex(0);
  column.Place(TabControl, 70);
}

void TGalleryForm::BuildPageColumn(TColumn column) {
  CaptionAbove(column, u"Páginas");
  PageControl = Make<gui::TPageControl>(u"PageControl", this);
  column.Place(PageControl, 120);
  BuildPages(PageControl, {u"Uno", u"Dos", u"Tres"});

  CaptionAbove(column, u"Páginas de otra biblioteca");
  AdvPageControl = Make<TAdvPageControl>(u"AdvPageControl", this);
  column.Place(AdvPageControl, 100);
  BuildPages(AdvPageControl, {u"Primera", u"Segunda"});

  CaptionAbove(column, u"Verticales");
  VerticalScrollBar = Make<gui::TScrollBar>(u"VerticalScrollBar", this);
  VerticalScrollBar->SetKind(gui::sbVertical);
  VerticalScrollBar->SetPageSize(10);
  VerticalScrollBar->SetParams(30, 0, 100);
  VerticalScrollBar->SetBounds(column.Left(), column.Top(), 17, 150);
  VerticalProgressBar = Make<gui::TProgressBar>(u"VerticalProgressBar", this);
  VerticalProgressBar->SetOrientation(gui::pbVertical);
  VerticalProgressBar->SetPosition(40);
  VerticalProgressBar->SetBounds(column.Left() + 40, column.Top(), 17, 150);
  VerticalTrackBar = Make<gui::TTrackBar>(u"VerticalTrackBar", this);
  VerticalTrackBar->SetOrientation(gui::trVertical);
  VerticalTrackBar->SetPosition(5);
  VerticalTrackBar->SetBounds(column.Left() + 80, column.Top(), 32, 150);
}

// One sheet per caption, each with a line that names it, so that a switch
// of page shows.
void TGalleryForm::BuildPages(gui::TPageControl* pages, std::initializer_list<const char16_t*> captions) {
  for (const char16_t* caption : captions) {
    auto* sheet = new gui::TTabSheet(this);
    sheet->SetParent(pages);
    sheet->SetCaption(caption);
    auto* label = new gui::TLabel(this);
    label->SetParent(sheet);
    label->SetCaption(u"Página «" + rt::WideString(caption) + u"»");
    label->SetBounds(10, 10, 180, 14);
    auto* edit = new gui::TEdit(this);
    edit->SetParent(sheet);
    edit->SetText(caption);
    edit->SetBounds(10, 32, 120, kLineHeight);
  }
  pages->SetActivePageIndex(0);
}

}  // namespace gallery
