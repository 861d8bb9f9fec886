#include "runtime/gui/registration.h"

#include "runtime/format.h"
#include "runtime/gui/button.h"
#include "runtime/gui/edit.h"
#include "runtime/gui/form.h"
#include "runtime/gui/image.h"
#include "runtime/gui/label.h"
#include "runtime/gui/panel.h"
#include "runtime/gui/timer.h"
#include "runtime/published.h"

namespace gui {

namespace {

using rt::PublishClass;

TFont& FontOf(TControl& c) { return c.Font(); }

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

  PublishClass<TEdit>("TEdit", "TWinControl")
      .Creatable()
      .String("Text", &TControl::Text, &TControl::SetText)
      .Enum("BorderStyle", {"bsNone", "bsSingle"}, &TEdit::BorderStyle, &TEdit::SetBorderStyle)
      .Integer("MaxLength", &TEdit::MaxLength, &TEdit::SetMaxLength)
      .Boolean("ReadOnly", &TEdit::ReadOnly, &TEdit::SetReadOnly)
      .Event("OnChange", &TEdit::OnChange);

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
