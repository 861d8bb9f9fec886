#include "runtime/gui/registration.h"

#include "runtime/format.h"
#include "runtime/gui/bit_btn.h"
#include "runtime/gui/button.h"
#include "runtime/gui/check_box.h"
#include "runtime/gui/combo_box.h"
#include "runtime/gui/edit.h"
#include "runtime/gui/form.h"
#include "runtime/gui/group_box.h"
#include "runtime/gui/header_control.h"
#include "runtime/gui/image.h"
#include "runtime/gui/image_list.h"
#include "runtime/gui/label.h"
#include "runtime/gui/list_view.h"
#include "runtime/gui/memo.h"
#include "runtime/gui/menus.h"
#include "runtime/gui/panel.h"
#include "runtime/gui/progress_bar.h"
#include "runtime/gui/scroll_bar.h"
#include "runtime/gui/status_bar.h"
#include "runtime/gui/tab_controls.h"
#include "runtime/gui/timer.h"
#include "runtime/gui/tool_bar.h"
#include "runtime/gui/track_bar.h"
#include "runtime/gui/up_down.h"
#include "runtime/published.h"

namespace gui {

namespace {

using rt::PublishClass;

TFont& FontOf(TControl& c) { return c.Font(); }

const std::vector<std::string> kBorderStyles = {"bsNone", "bsSingle"};

// Check boxes, radio buttons, group boxes, combo boxes and memos.
void PublishStandardControls() {
  PublishClass<TButtonControl>("TButtonControl", "TWinControl");
  PublishClass<TCheckBox>("TCustomCheckBox", "TButtonControl");
  PublishClass<TCheckBox>("TCheckBox", "TCustomCheckBox")
      .Creatable()
      .String("Caption", &TControl::Caption, &TControl::SetCaption)
      .Boolean("Checked", &TCheckBox::Checked, &TCheckBox::SetChecked)
      .Enum("State", {"cbUnchecked", "cbChecked", "cbGrayed"}, &TCheckBox::State, &TCheckBox::SetState)
      .Boolean("AllowGrayed", &TCheckBox::AllowGrayed, &TCheckBox::SetAllowGrayed)
      .Enum("Alignment", {"taLeftJustify", "taRightJustify"}, &TCheckBox::Alignment, &TCheckBox::SetAlignment);
  PublishClass<TRadioButton>("TRadioButton", "TButtonControl")
      .Creatable()
      .String("Caption", &TControl::Caption, &TControl::SetCaption)
      .Boolean("Checked", &TRadioButton::Checked, &TRadioButton::SetChecked)
      .Enum("Alignment", {"taLeftJustify", "taRightJustify"}, &TRadioButton::Alignment,
            &TRadioButton::SetAlignment);

  PublishClass<TGroupBox>("TCustomGroupBox", "TWinControl");
  PublishClass<TGroupBox>("TGroupBox", "TCustomGroupBox")
      .Creatable()
      .String("Caption", &TControl::Caption, &TControl::SetCaption);
  PublishClass<TRadioGroup>("TCustomRadioGroup", "TCustomGroupBox");
  PublishClass<TRadioGroup>("TRadioGroup", "TCustomRadioGroup")
      .Creatable()
      .String("Caption", &TControl::Caption, &TControl::SetCaption)
      .Strings("Items", &TRadioGroup::Items, &TRadioGroup::SetItems)
      .Integer("ItemIndex", &TRadioGroup::ItemIndex, &TRadioGroup::SetItemIndex)
      .Integer("Columns", &TRadioGroup::Columns, &TRadioGroup::SetColumns);

  PublishClass<TComboBox>("TCustomComboBox", "TWinControl");
  PublishClass<TComboBox>("TComboBox", "TCustomComboBox")
      .Creatable()
      .Enum("Style", {"csDropDown", "csSimple", "csDropDownList"}, &TComboBox::Style, &TComboBox::SetStyle)
      .Strings("Items", &TComboBox::Items, &TComboBox::SetItems)
      .Integer("ItemIndex", &TComboBox::ItemIndex, &TComboBox::SetItemIndex)
      .String("Text", &TControl::Text, &TControl::SetText)
      .Integer("DropDownCount", &TComboBox::DropDownCount, &TComboBox::SetDropDownCount)
      .Event("OnChange", &TComboBox::OnChange);

  PublishClass<TMemo>("TCustomMemo", "TCustomEdit");
  PublishClass<TMemo>("TMemo", "TCustomMemo")
      .Creatable()
      .Strings("Lines", &TMemo::Lines, &TMemo::SetLines)
      .Enum("ScrollBars", {"ssNone", "ssHorizontal", "ssVertical", "ssBoth"}, &TMemo::ScrollBars,
            &TMemo::SetScrollBars)
      .Boolean("WordWrap", &TMemo::WordWrap, &TMemo::SetWordWrap)
      .Boolean("ReadOnly", &TMemo::ReadOnly, &TMemo::SetReadOnly)
      .Enum("BorderStyle", kBorderStyles, &TMemo::BorderStyle, &TMemo::SetBorderStyle)
      .Event("OnChange", &TMemo::OnChange);
}

// Scroll bars, progress bars, track bars and up-down arrows.
void PublishRangeControls() {
  PublishClass<TScrollBar>("TScrollBar", "TWinControl")
      .Creatable()
      .Enum("Kind", {"sbHorizontal", "sbVertical"}, &TScrollBar::Kind, &TScrollBar::SetKind)
      .Integer("Min", &TScrollBar::Min, &TScrollBar::SetMin)
      .Integer("Max", &TScrollBar::Max, &TScrollBar::SetMax)
      .Integer("Position", &TScrollBar::Position, &TScrollBar::SetPosition)
      .Integer("SmallChange", &TScrollBar::SmallChange, &TScrollBar::SetSmallChange)
      .Integer("LargeChange", &TScrollBar::LargeChange, &TScrollBar::SetLargeChange)
      .Integer("PageSize", &TScrollBar::PageSize, &TScrollBar::SetPageSize)
      .Event("OnChange", &TScrollBar::OnChange);

  PublishClass<TProgressBar>("TProgressBar", "TWinControl")
      .Creatable()
      .Integer("Min", &TProgressBar::Min, &TProgressBar::SetMin)
      .Integer("Max", &TProgressBar::Max, &TProgressBar::SetMax)
      .Integer("Position", &TProgressBar::Position, &TProgressBar::SetPosition)
      .Enum("Orientation", {"pbHorizontal", "pbVertical"}, &TProgressBar::Orientation,
            &TProgressBar::SetOrientation)
      .Boolean("Smooth", &TProgressBar::Smooth, &TProgressBar::SetSmooth)
      .Integer("Step", &TProgressBar::Step, &TProgressBar::SetStep);

  PublishClass<TTrackBar>("TTrackBar", "TWinControl")
      .Creatable()
      .Integer("Min", &TTrackBar::Min, &TTrackBar::SetMin)
      .Integer("Max", &TTrackBar::Max, &TTrackBar::SetMax)
      .Integer("Position", &TTrackBar::Position, &TTrackBar::SetPosition)
      .Enum("Orientation", {"trHorizontal", "trVertical"}, &TTrackBar::Orientation, &TTrackBar::SetOrientation)
      .Integer("Frequency", &TTrackBar::Frequency, &TTrackBar::SetFrequency)
      .Enum("TickMarks", {"tmBottomRight", "tmTopLeft", "tmBoth"}, &TTrackBar::TickMarks,
            &TTrackBar::SetTickMarks)
      .Boolean("Transparent", &TTrackBar::Transparent, &TTrackBar::SetTransparent)
      .Event("OnChange", &TTrackBar::OnChange);

  PublishClass<TUpDown>("TUpDown", "TWinControl")
      .Creatable()
      .Integer("Min", &TUpDown::Min, &TUpDown::SetMin)
      .Integer("Max", &TUpDown::Max, &TUpDown::SetMax)
      .Integer("Position", &TUpDown::Position, &TUpDown::SetPosition)
      .Enum("Orientation", {"udVertical", "udHorizontal"}, &TUpDown::Orientation, &TUpDown::SetOrientation)
      .Boolean("Wrap", &TUpDown::Wrap, &TUpDown::SetWrap)
      .Integer("Increment", &TUpDown::Increment, &TUpDown::SetIncrement);
}

// List views, tabs and pages, status bars, headers and tool bars.
void PublishCommonControls() {
  PublishClass<TListView>("TCustomListView", "TWinControl");
  PublishClass<TListView>("TListView", "TCustomListView")
      .Creatable()
      .Enum("ViewStyle", {"vsIcon", "vsSmallIcon", "vsList", "vsReport"}, &TListView::ViewStyle,
            &TListView::SetViewStyle)
      .Strings("Columns", &TListView::Columns, &TListView::SetColumns)
      .Strings("Items", &TListView::Items, &TListView::SetItems)
      .Boolean("GridLines", &TListView::GridLines, &TListView::SetGridLines)
      .Boolean("RowSelect", &TListView::RowSelect, &TListView::SetRowSelect)
      .Enum("BorderStyle", kBorderStyles, &TListView::BorderStyle, &TListView::SetBorderStyle);

  PublishClass<TCustomTabControl>("TCustomTabControl", "TWinControl");
  PublishClass<TTabControl>("TTabControl", "TCustomTabControl")
      .Creatable()
      .Strings("Tabs", &TTabControl::Tabs, &TTabControl::SetTabs)
      .Integer("TabIndex", &TTabControl::TabIndex, &TTabControl::SetTabIndex)
      .Event("OnChange", &TTabControl::OnChange);
  PublishClass<TPageControl>("TPageControl", "TCustomTabControl")
      .Creatable()
      .Integer("ActivePageIndex", &TPageControl::ActivePageIndex, &TPageControl::SetActivePageIndex)
      .Event("OnChange", &TPageControl::OnChange);
  PublishClass<TTabSheet>("TTabSheet", "TWinControl")
      .Creatable()
      .String("Caption", &TControl::Caption, &TControl::SetCaption)
      .Integer("PageIndex", &TTabSheet::PageIndex);
  PublishClass<TTabSet>("TTabSet", "TWinControl")
      .Creatable()
      .Strings("Tabs", &TTabSet::Tabs, &TTabSet::SetTabs)
      .Integer("TabIndex", &TTabSet::TabIndex, &TTabSet::SetTabIndex)
      .Event("OnChange", &TTabSet::OnChange);

  PublishClass<TStatusBar>("TStatusBar", "TWinControl")
      .Creatable()
      .Boolean("SimplePanel", &TStatusBar::SimplePanel, &TStatusBar::SetSimplePanel)
      .String("SimpleText", &TStatusBar::SimpleText, &TStatusBar::SetSimpleText)
      .Boolean("SizeGrip", &TStatusBar::SizeGrip, &TStatusBar::SetSizeGrip);

  PublishClass<THeaderControl>("THeaderControl", "TWinControl")
      .Creatable()
      .Strings("Sections", &THeaderControl::Sections, &THeaderControl::SetSections)
      .Event("OnSectionClick", &THeaderControl::OnSectionClick);

  PublishClass<TToolBar>("TToolBar", "TWinControl")
      .Creatable()
      .Boolean("Flat", &TToolBar::Flat, &TToolBar::SetFlat)
      .Boolean("ShowCaptions", &TToolBar::ShowCaptions, &TToolBar::SetShowCaptions);
}

const std::vector<std::string> kButtonLayouts = {"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"};

// Buttons with a glyph.
void PublishGlyphButtons() {
  PublishClass<TBitBtn>("TBitBtn", "TButton")
      .Creatable()
      .Object("Glyph", [](TBitBtn& b) -> rt::TPersistent& { return b.Glyph(); })
      .Integer("NumGlyphs", &TBitBtn::NumGlyphs, &TBitBtn::SetNumGlyphs)
      .Enum("Layout", kButtonLayouts, &TBitBtn::Layout, &TBitBtn::SetLayout)
      .Integer("Margin", &TBitBtn::Margin, &TBitBtn::SetMargin)
      .Integer("Spacing", &TBitBtn::Spacing, &TBitBtn::SetSpacing);

  PublishClass<TSpeedButton>("TSpeedButton", "TWinControl")
      .Creatable()
      .String("Caption", &TControl::Caption, &TControl::SetCaption)
      .Boolean("Down", &TSpeedButton::Down, &TSpeedButton::SetDown)
      .Integer("GroupIndex", &TSpeedButton::GroupIndex, &TSpeedButton::SetGroupIndex)
      .Boolean("AllowAllUp", &TSpeedButton::AllowAllUp, &TSpeedButton::SetAllowAllUp)
      .Boolean("Flat", &TSpeedButton::Flat, &TSpeedButton::SetFlat)
      .Object("Glyph", [](TSpeedButton& b) -> rt::TPersistent& { return b.Glyph(); })
      .Integer("NumGlyphs", &TSpeedButton::NumGlyphs, &TSpeedButton::SetNumGlyphs)
      .Enum("Layout", kButtonLayouts, &TSpeedButton::Layout, &TSpeedButton::SetLayout)
      .Integer("Margin", &TSpeedButton::Margin, &TSpeedButton::SetMargin)
      .Integer("Spacing", &TSpeedButton::Spacing, &TSpeedButton::SetSpacing);
}

// Menus, their items and image lists. A stored item sits in a menu or in
// another item.
void PublishMenus() {
  PublishClass<TImageList>("TImageList", "TComponent")
      .Creatable()
      .Integer("Width", &TImageList::Width, &TImageList::SetWidth)
      .Integer("Height", &TImageList::Height, &TImageList::SetHeight);
  PublishClass<TMenuItem>("TMenuItem", "TComponent")
      .Creatable()
      .Parent([](TMenuItem& item, rt::TComponent& parent) {
        if (auto* menu = dynamic_cast<TMenu*>(&parent))
          menu->Items()->Add(&item);
        else if (auto* container = dynamic_cast<TMenuItem*>(&parent))
          container->Add(&item);
        else
          throw rt::Exception(rt::Format(u"Un %s ne peut pas contenir d'élément de menu", {parent.ClassName()}));
      })
      .String("Caption", &TMenuItem::Caption, &TMenuItem::SetCaption)
      .Integer("ShortCut", &TMenuItem::ShortCut, &TMenuItem::SetShortCut)
      .Boolean("Enabled", &TMenuItem::Enabled, &TMenuItem::SetEnabled)
      .Boolean("Checked", &TMenuItem::Checked, &TMenuItem::SetChecked)
      .Boolean("Visible", &TMenuItem::Visible, &TMenuItem::SetVisible)
      .Boolean("Default", &TMenuItem::Default, &TMenuItem::SetDefault)
      .Integer("ImageIndex", &TMenuItem::ImageIndex, &TMenuItem::SetImageIndex)
      .Integer("Tag", &rt::TComponent::Tag, &rt::TComponent::SetTag)
      .Event("OnClick", &TMenuItem::OnClick);
  PublishClass<TMenu>("TMenu", "TComponent")
      .Boolean("OwnerDraw", &TMenu::OwnerDraw, &TMenu::SetOwnerDraw)
      .Enum("BiDiMode", {"bdLeftToRight", "bdRightToLeft"}, &TMenu::BiDiMode, &TMenu::SetBiDiMode)
      .String("Images", [](TMenu& m) { return m.Images() ? m.Images()->Name() : rt::WideString(); },
              [](TMenu& m, const rt::WideString& name) {
                auto* images = name.empty() || !m.Owner() ? nullptr : dynamic_cast<TImageList*>(m.Owner()->FindComponent(name));
                if (!name.empty() && !images) throw rt::Exception(u"Liste d'images introuvable : " + name);
                m.SetImages(images);
              });
  PublishClass<TMainMenu>("TMainMenu", "TMenu").Creatable();
  PublishClass<TPopupMenu>("TPopupMenu", "TMenu").Creatable();
}

void PublishControls() {
  PublishClass<TFont>("TFont", "TPersistent")
      .String("Name", &TFont::Name, &TFont::SetName)
      .Integer("Height", &TFont::Height, &TFont::SetHeight)
      .Integer("Size", &TFont::Size, &TFont::SetSize)
      .Color("Color", &TFont::Color, &TFont::SetColor)
      .Integer("Charset", &TFont::Charset, &TFont::SetCharset, CharsetIdents())
      .Set("Style", {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"}, &TFont::Style,
           &TFont::SetStyle);

  PublishClass<TPicture>("TPicture", "TPersistent")
      .Binary("Bitmap", [](TPicture& p) { return p.Bitmap().Data(); },
              [](TPicture& p, const std::vector<uint8_t>& bytes) { p.LoadBitmap(bytes); });

  PublishClass<TControl>("TControl", "TComponent")
      .Parent([](TControl& control, rt::TComponent& parent) {
        auto* container = dynamic_cast<TWinControl*>(&parent);
        if (!container)
          throw rt::Exception(rt::Format(u"Un %s ne peut pas contenir de contrôle", {parent.ClassName()}));
        control.SetParent(container);
      })
      .Integer("Left", &TControl::Left, &TControl::SetLeft)
      .Integer("Top", &TControl::Top, &TControl::SetTop)
      .Integer("Width", &TControl::Width, &TControl::SetWidth)
      .Integer("Height", &TControl::Height, &TControl::SetHeight)
      .Enum("Align", {"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient"}, &TControl::Align,
            &TControl::SetAlign)
      .Boolean("Visible", &TControl::Visible, &TControl::SetVisible)
      .Boolean("Enabled", &TControl::Enabled, &TControl::SetEnabled)
      .Color("Color", &TControl::Color, &TControl::SetColor)
      .Boolean("ParentColor", &TControl::ParentColor, &TControl::SetParentColor)
      .Object("Font", [](TControl& c) -> rt::TPersistent& { return FontOf(c); })
      .Boolean("ParentFont", &TControl::ParentFont, &TControl::SetParentFont)
      .Event("OnClick", &TControl::OnClick);
  PublishClass<TGraphicControl>("TGraphicControl", "TControl");
  PublishClass<TWinControl>("TWinControl", "TControl")
      .Integer("TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder)
      .Boolean("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop);

  PublishClass<TForm>("TForm", "TWinControl")
      .String("Caption", &TControl::Caption, &TControl::SetCaption)
      .Integer("ClientWidth", &TForm::ClientWidth, &TForm::SetClientWidth)
      .Integer("ClientHeight", &TForm::ClientHeight, &TForm::SetClientHeight)
      .Enum("BorderStyle", {"bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin"},
            &TForm::BorderStyle, &TForm::SetBorderStyle)
      .Set("BorderIcons", {"biSystemMenu", "biMinimize", "biMaximize", "biHelp"}, &TForm::BorderIcons,
           &TForm::SetBorderIcons)
      .Enum("Position",
            {"poDesigned", "poDefault", "poDefaultPosOnly", "poDefaultSizeOnly", "poScreenCenter",
             "poDesktopCenter", "poMainFormCenter", "poOwnerFormCenter"},
            &TForm::Position, &TForm::SetPosition)
      .Integer("PixelsPerInch", &TForm::PixelsPerInch, &TForm::SetPixelsPerInch)
      .Integer("TextHeight", &TForm::TextHeight, &TForm::SetTextHeight)
      .String("Menu", &TForm::MenuName, &TForm::SetMenuName)
      .Event("OnCreate", &TForm::OnCreate)
      .Event("OnShow", &TForm::OnShow)
      .Event("OnDestroy", &TForm::OnDestroy)
      .Event("OnClose", &TForm::OnClose);

  PublishClass<TPanel>("TPanel", "TWinControl")
      .Creatable()
      .String("Caption", &TControl::Caption, &TControl::SetCaption)
      .Enum("BevelOuter", {"bvNone", "bvLowered", "bvRaised", "bvSpace"}, &TPanel::BevelOuter,
            &TPanel::SetBevelOuter)
      .Enum("BevelInner", {"bvNone", "bvLowered", "bvRaised", "bvSpace"}, &TPanel::BevelInner,
            &TPanel::SetBevelInner)
      .Integer("BevelWidth", &TPanel::BevelWidth, &TPanel::SetBevelWidth)
      .Integer("BorderWidth", &TPanel::BorderWidth, &TPanel::SetBorderWidth);

  PublishClass<TLabel>("TLabel", "TGraphicControl")
      .Creatable()
      .String("Caption", &TControl::Caption, &TControl::SetCaption)
      .Boolean("AutoSize", &TLabel::AutoSize, &TLabel::SetAutoSize)
      .Boolean("WordWrap", &TLabel::WordWrap, &TLabel::SetWordWrap)
      .Boolean("Transparent", &TLabel::Transparent, &TLabel::SetTransparent)
      .Enum("Alignment", {"taLeftJustify", "taRightJustify", "taCenter"}, &TLabel::Alignment,
            &TLabel::SetAlignment)
      .Boolean("ShowAccelChar", &TLabel::ShowAccelChar, &TLabel::SetShowAccelChar);

  PublishClass<TImage>("TImage", "TGraphicControl")
      .Creatable()
      .Object("Picture", [](TImage& i) -> rt::TPersistent& { return i.Picture(); })
      .Boolean("AutoSize", &TImage::AutoSize, &TImage::SetAutoSize)
      .Boolean("Transparent", &TImage::Transparent, &TImage::SetTransparent)
      .Boolean("Stretch", &TImage::Stretch, &TImage::SetStretch)
      .Boolean("Center", &TImage::Center, &TImage::SetCenter);

  PublishClass<TButton>("TButton", "TWinControl")
      .Creatable()
      .String("Caption", &TControl::Caption, &TControl::SetCaption)
      .Boolean("Default", &TButton::Default, &TButton::SetDefault)
      .Boolean("Cancel", &TButton::Cancel, &TButton::SetCancel)
      .Integer("ModalResult", &TButton::ModalResult, &TButton::SetModalResult)
      .Boolean("MultiLine", &TButton::MultiLine, &TButton::SetMultiLine);

  PublishClass<TWinControl>("TCustomEdit", "TWinControl");
  PublishClass<TEdit>("TEdit", "TCustomEdit")
      .Creatable()
      .String("Text", &TControl::Text, &TControl::SetText)
      .Enum("BorderStyle", {"bsNone", "bsSingle"}, &TEdit::BorderStyle, &TEdit::SetBorderStyle)
      .Integer("MaxLength", &TEdit::MaxLength, &TEdit::SetMaxLength)
      .Boolean("ReadOnly", &TEdit::ReadOnly, &TEdit::SetReadOnly)
      .Event("OnChange", &TEdit::OnChange);

  PublishStandardControls();
  PublishRangeControls();
  PublishCommonControls();
  PublishGlyphButtons();
  PublishMenus();

  PublishClass<TTimer>("TTimer", "TComponent")
      .Creatable()
      .Boolean("Enabled", &TTimer::Enabled, &TTimer::SetEnabled)
      .Integer("Interval", &TTimer::Interval, &TTimer::SetInterval)
      .Event<rt::TNotifyEvent>("OnTimer", &TTimer::OnTimer, &TTimer::SetOnTimer);
}

}  // namespace

void RegisterFrameworkClasses() {
  static bool registered = false;
  if (registered) return;
  registered = true;
  PublishControls();
  RegisterDialogClasses();
}

}  // namespace gui
