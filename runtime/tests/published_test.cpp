#include "runtime/published.h"

#include <gtest/gtest.h>

#include "runtime/strings.h"

namespace rt {
namespace {

enum TShapeKind { skRound, skSquare, skStar };

class TShape : public TPersistent {
 public:
  WideString ClassName() const override { return u"TShape"; }
  int16_t Sides = 0;
  TShapeKind Kind = skRound;
};

class TWidget : public TComponent {
 public:
  using TComponent::TComponent;
  WideString ClassName() const override { return u"TWidget"; }

  int32_t Size = 0;
  TColor Color = clBtnFace;
  bool Shown = false;
  WideString Caption;
  std::string Password;
  uint32_t Options = 0;
  std::vector<WideString> Lines;
  std::vector<uint8_t> Data;
  double Scale = 1;
  TShape Shape;
  TNotifyEvent OnPing;
  WideString Version() const { return u"1.0"; }
};

class TFancyWidget : public TWidget {
 public:
  using TWidget::TWidget;
  WideString ClassName() const override { return u"TFancyWidget"; }
  uint8_t Glow = 0;
};

void RegisterTestClasses() {
  PublishClass<TShape>("TShape", "TPersistent")
      .Integer("Sides", [](TShape& s) { return s.Sides; }, [](TShape& s, int16_t v) { s.Sides = v; })
      .Enum("Kind", {"skRound", "skSquare", "skStar"}, [](TShape& s) { return s.Kind; },
            [](TShape& s, TShapeKind v) { s.Kind = v; });
  PublishClass<TWidget>("TWidget", "TComponent")
      .Creatable()
      .Integer("Size", [](TWidget& w) { return w.Size; }, [](TWidget& w, int32_t v) { w.Size = v; })
      .Color("Color", [](TWidget& w) { return w.Color; }, [](TWidget& w, TColor v) { w.Color = v; })
      .Boolean("Shown", [](TWidget& w) { return w.Shown; }, [](TWidget& w, bool v) { w.Shown = v; })
      .String("Caption", [](TWidget& w) { return w.Caption; },
              [](TWidget& w, const WideString& v) { w.Caption = v; })
      .String("Password", [](TWidget& w) { return w.Password; },
              [](TWidget& w, const std::string& v) { w.Password = v; })
      .String("Version", &TWidget::Version)
      .Set("Options", {"woFirst", "woSecond", "woThird"}, [](TWidget& w) { return w.Options; },
           [](TWidget& w, uint32_t v) { w.Options = v; })
      .Strings("Lines", [](TWidget& w) { return w.Lines; },
               [](TWidget& w, const std::vector<WideString>& v) { w.Lines = v; })
      .Binary("Data", [](TWidget& w) { return w.Data; },
              [](TWidget& w, const std::vector<uint8_t>& v) { w.Data = v; })
      .Float("Scale", [](TWidget& w) { return w.Scale; }, [](TWidget& w, double v) { w.Scale = v; })
      .Object("Shape", [](TWidget& w) -> TShape& { return w.Shape; })
      .Event("OnPing", &TWidget::OnPing);
  PublishClass<TFancyWidget>("TFancyWidget", "TWidget")
      .Creatable()
      .Integer("Glow", [](TFancyWidget& w) { return w.Glow; },
               [](TFancyWidget& w, uint8_t v) { w.Glow = v; });
}

class Published : public ::testing::Test {
 protected:
  void SetUp() override { RegisterTestClasses(); }
  TFancyWidget widget{nullptr};
};

struct RoundTrip {
  const char* property;
  TFormValue stored;
  TFormValue read;  // what GetProperty gives back
};

TEST_F(Published, EveryKindRoundTrips) {
  const RoundTrip cases[] = {
      {"Size", {int64_t{-42}}, {int64_t{-42}}},
      {"Color", {TFormIdent{"clRed"}}, {int64_t{clRed}}},
      {"Color", {int64_t{0x9CD7F3}}, {int64_t{0x9CD7F3}}},
      {"Shown", {TFormIdent{"true"}}, {TFormIdent{"True"}}},
      {"Caption", {WideString(u"Añadir\rlínea")}, {WideString(u"Añadir\rlínea")}},
      {"Password", {WideString(u"secret")}, {WideString(u"secret")}},
      {"Options", {TFormSet{{"woThird", "woFirst"}}}, {TFormSet{{"woFirst", "woThird"}}}},
      {"Options", {TFormSet{}}, {TFormSet{}}},
      {"Lines", {TFormList{{{WideString(u"a")}, {WideString(u"b")}}}},
       {TFormList{{{WideString(u"a")}, {WideString(u"b")}}}}},
      {"Data", {TFormBinary{{1, 2, 3}}}, {TFormBinary{{1, 2, 3}}}},
      {"Scale", {int64_t{2}}, {2.0}},
      {"Shape.Sides", {int64_t{5}}, {int64_t{5}}},
      {"shape.kind", {TFormIdent{"SKSTAR"}}, {TFormIdent{"skStar"}}},
      {"Glow", {int64_t{255}}, {int64_t{255}}},
      {"Name", {WideString(u"Widget1")}, {WideString(u"Widget1")}},
      {"Tag", {int64_t{99}}, {int64_t{99}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.property);
    SetProperty(widget, c.property, c.stored);
    EXPECT_EQ(GetProperty(widget, c.property), c.read);
  }
  EXPECT_EQ(widget.Shape.Kind, skStar);
  EXPECT_EQ(widget.Name(), u"Widget1");
}

struct BadValue {
  const char* property;
  TFormValue value;
  const char16_t* message;
};

TEST_F(Published, BadValuesRaiseNamingClassAndProperty) {
  const BadValue cases[] = {
      {"Sise", {int64_t{1}}, u"La classe TFancyWidget n'a pas de propriété « Sise »"},
      {"Shape.Corners", {int64_t{1}}, u"La classe TFancyWidget n'a pas de propriété « Shape.Corners »"},
      {"Caption.Length", {int64_t{1}}, u"La propriété « Caption » de la classe TFancyWidget n'est pas un objet"},
      {"Size", {WideString(u"12")}, u"La propriété TFancyWidget.Size attend un entier, pas une chaîne"},
      {"Size", {int64_t{1} << 40}, u"Valeur 1099511627776 hors limites pour la propriété TFancyWidget.Size"},
      {"Glow", {int64_t{-1}}, u"Valeur -1 hors limites pour la propriété TFancyWidget.Glow"},
      {"Shape.Sides", {int64_t{40000}}, u"Valeur 40000 hors limites pour la propriété TFancyWidget.Shape.Sides"},
      {"Shown", {TFormIdent{"Yes"}}, u"Valeur « Yes » invalide pour la propriété TFancyWidget.Shown"},
      {"Shown", {int64_t{1}}, u"La propriété TFancyWidget.Shown attend un booléen, pas un entier"},
      {"Color", {TFormIdent{"clPink"}}, u"Valeur « clPink » invalide pour la propriété TFancyWidget.Color"},
      {"Options", {TFormSet{{"woFourth"}}}, u"Valeur « woFourth » invalide pour la propriété TFancyWidget.Options"},
      {"Lines", {TFormList{{{int64_t{3}}}}},
       u"La propriété TFancyWidget.Lines attend une liste de chaînes, pas une liste qui contient un entier"},
      {"Version", {WideString(u"2")}, u"La propriété TFancyWidget.Version est en lecture seule"},
      {"Shape", {int64_t{1}}, u"La propriété TFancyWidget.Shape attend les propriétés de l'objet, pas un entier"},
      {"OnPing", {TFormIdent{"Ping"}}, u"L'événement TFancyWidget.OnPing attend une méthode liée à son objet"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.property);
    try {
      SetProperty(widget, c.property, c.value);
      ADD_FAILURE() << "no exception";
    } catch (const EPropertyError& e) {
      EXPECT_EQ(WideToUtf8(e.Message()), WideToUtf8(c.message));
    }
  }
  // Nothing was changed by a refused value.
  EXPECT_EQ(widget.Size, 0);
  EXPECT_EQ(widget.Shape.Sides, 0);
}

TEST_F(Published, TextFormsAsTheSkinEngineExchangesThem) {
  SetPropertyText(widget, "Shown", u"True");
  SetPropertyText(widget, "Color", u"clBtnShadow");
  SetPropertyText(widget, "Size", u" -17 ");
  SetPropertyText(widget, "Options", u"[woSecond, woThird]");
  SetPropertyText(widget, "Lines", u"one\r\ntwo\nthree");
  EXPECT_TRUE(widget.Shown);
  EXPECT_EQ(widget.Color, clBtnShadow);
  EXPECT_EQ(widget.Size, -17);
  EXPECT_EQ(widget.Options, 6u);
  EXPECT_EQ(widget.Lines, (std::vector<WideString>{u"one", u"two", u"three"}));

  EXPECT_EQ(GetPropertyText(widget, "Shown"), u"True");
  EXPECT_EQ(GetPropertyText(widget, "Color"), u"clBtnShadow");
  widget.Color = RGBColor(243, 215, 156);
  EXPECT_EQ(GetPropertyText(widget, "Color"), u"10278899");
  EXPECT_EQ(GetPropertyText(widget, "Options"), u"[woSecond, woThird]");
  EXPECT_EQ(GetPropertyText(widget, "Shape.Kind"), u"skRound");
  EXPECT_EQ(GetPropertyText(widget, "Lines"), u"one\r\ntwo\r\nthree\r\n");
  EXPECT_THROW(SetPropertyText(widget, "Size", u"12a"), EPropertyError);
  EXPECT_THROW(SetPropertyText(widget, "Options", u"woFirst"), EPropertyError);
  EXPECT_THROW(GetPropertyText(widget, "Data"), EPropertyError);
  EXPECT_TRUE(HasProperty(widget, "Font") == false && HasProperty(widget, "SHAPE.SIDES"));
}

TEST_F(Published, EventsTakeHandlersOfTheirOwnSignature) {
  int pings = 0;
  SetEventProperty(widget, "OnPing",
                   {"Ping", std::any(TNotifyEvent([&](TObject* sender) {
                      EXPECT_EQ(sender, &widget);
                      ++pings;
                    }))});
  widget.OnPing(&widget);
  EXPECT_EQ(pings, 1);
  const auto handler = GetEventProperty(widget, "OnPing");
  ASSERT_NE(std::any_cast<TNotifyEvent>(&handler), nullptr);

  try {
    SetEventProperty(widget, "OnPing", {"PingTwice", std::any(std::function<void(int)>())});
    FAIL() << "no exception";
  } catch (const EPropertyError& e) {
    EXPECT_EQ(e.Message(), u"La méthode PingTwice ne convient pas à l'événement TFancyWidget.OnPing");
  }
}

TEST_F(Published, RegistryCreatesByNameAlongTheChain) {
  TWidget owner(nullptr);
  TComponent* made = CreateComponent("tfancywidget", &owner);
  EXPECT_EQ(made->ClassName(), u"TFancyWidget");
  EXPECT_EQ(made->Owner(), &owner);
  EXPECT_TRUE(ClassInfoOf(*made).InheritsFrom("TComponent"));

  std::vector<std::string> names;
  for (const auto* p : ClassInfoOf(*made).Properties()) names.push_back(p->Name);
  ASSERT_GE(names.size(), 3u);
  EXPECT_EQ(names.front(), "Name");  // base class first
  EXPECT_EQ(names.back(), "Glow");

  try {
    CreateComponent("TGadget", &owner);
    FAIL() << "no exception";
  } catch (const EClassNotFound& e) {
    EXPECT_EQ(e.Message(), u"Classe TGadget introuvable");
  }
  EXPECT_THROW(CreateComponent("TShape", &owner), EClassNotFound);
}

}  // namespace
}  // namespace rt
