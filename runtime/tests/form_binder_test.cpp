#include "runtime/form_binder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/published.h"

namespace rt {
namespace {

// What happened, in order, across all test components.
std::vector<std::string> gLog;

class TItem : public TComponent {
 public:
  using TComponent::TComponent;
  WideString ClassName() const override { return u"TItem"; }
  void Loaded() override {
    gLog.push_back("loaded " + WideToUtf8(Name()));
    TComponent::Loaded();
  }
  TItem* Parent = nullptr;
  int32_t Value = 0;
  TNotifyEvent OnClick;
};

// Holds other items; items stored inside it get it as their parent.
class TBox : public TItem {
 public:
  using TItem::TItem;
  WideString ClassName() const override { return u"TBox"; }
  std::vector<TItem*> Children;
};

class TTestForm : public TItem {
 public:
  using TItem::TItem;
  WideString ClassName() const override { return u"TTestForm"; }
  TNotifyEvent OnCreate;
  TBox* Box1 = nullptr;
  TItem* Item1 = nullptr;
  TObject* clickedBy = nullptr;

  void FormCreate(TObject*) { gLog.push_back("create " + std::to_string(Item1->Value)); }
  void ItemClick(TObject* sender) { clickedBy = sender; }
  void Wrong(int) {}
};

void RegisterTestClasses() {
  PublishClass<TItem>("TItem", "TComponent")
      .Creatable()
      .Parent([](TItem& item, TComponent& parent) {
        auto* box = dynamic_cast<TBox*>(&parent);
        if (!box) return;  // a top-level item of the form
        item.Parent = box;
        box->Children.push_back(&item);
      })
      .Integer("Value", [](TItem& i) { return i.Value; },
               [](TItem& i, int32_t v) {
                 gLog.push_back(WideToUtf8(i.Name()) + ".Value " + std::to_string(v) +
                                (i.Loading() ? " loading" : ""));
                 i.Value = v;
               })
      .Event("OnClick", &TItem::OnClick);
  PublishClass<TBox>("TBox", "TItem").Creatable();
  PublishClass<TTestForm>("TTestForm", "TItem")
      .Event("OnCreate", &TTestForm::OnCreate)
      .Handler("FormCreate", &TTestForm::FormCreate)
      .Handler("ItemClick", &TTestForm::ItemClick)
      .Handler("Wrong", &TTestForm::Wrong)
      .Field("Box1", &TTestForm::Box1)
      .Field("Item1", &TTestForm::Item1);
}

TFormProperty Prop(const char* name, TFormValue value) { return {name, std::move(value)}; }
TFormValue Int(int64_t v) { return {v}; }
TFormValue Ident(const char* name) { return {TFormIdent{name}}; }

TFormObject StoredForm() {
  TFormObject item1{"TItem", "Item1", {Prop("Value", Int(7)), Prop("OnClick", Ident("ItemClick"))}, {}};
  TFormObject item2{"TItem", "Item2", {Prop("Value", Int(8))}, {}};
  TFormObject box{"TBox", "Box1", {Prop("Value", Int(1))}, {item1, item2}};
  TFormObject loose{"TItem", "Loose", {}, {}};
  return {"TTestForm", "Form1", {Prop("Value", Int(3)), Prop("OnCreate", Ident("FormCreate"))}, {box, loose}};
}

class FormBinder : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterTestClasses();
    gLog.clear();
  }
  // The message of the EReadError that loading data raises.
  static std::string LoadError(const TFormObject& data) {
    TTestForm form(nullptr);
    try {
      CreateFormFromData(data, form);
    } catch (const EReadError& e) {
      return WideToUtf8(e.Message());
    }
    return "no error";
  }
};

TEST_F(FormBinder, BuildsTheTreeOwnedByTheFormAndRunsLoadedThenOnCreate) {
  TTestForm form(nullptr);
  CreateFormFromData(StoredForm(), form);

  EXPECT_EQ(form.Name(), u"Form1");
  ASSERT_EQ(form.ComponentCount(), 4);  // everything is owned by the form
  EXPECT_EQ(form.Component(0)->Name(), u"Box1");
  EXPECT_EQ(form.Component(1)->Name(), u"Item1");
  EXPECT_EQ(form.Component(2)->Name(), u"Item2");
  EXPECT_EQ(form.Component(3)->Name(), u"Loose");
  ASSERT_NE(form.Box1, nullptr);
  ASSERT_NE(form.Item1, nullptr);
  EXPECT_EQ(form.Box1->Children, (std::vector<TItem*>{form.Item1, static_cast<TItem*>(form.Component(2))}));
  EXPECT_EQ(form.Item1->Parent, form.Box1);
  EXPECT_EQ(static_cast<TItem*>(form.Component(3))->Parent, nullptr);

  // Properties in stored order while loading; Loaded for everything once
  // all is set, the form first; OnCreate last.
  EXPECT_EQ(gLog, (std::vector<std::string>{
                      "Form1.Value 3 loading", "Box1.Value 1 loading", "Item1.Value 7 loading",
                      "Item2.Value 8 loading", "loaded Form1", "loaded Box1", "loaded Item1",
                      "loaded Item2", "loaded Loose", "create 7"}));
  EXPECT_FALSE(form.Item1->Loading());

  form.Item1->OnClick(form.Item1);
  EXPECT_EQ(form.clickedBy, form.Item1);
}

TEST_F(FormBinder, MalformedFormsAreRefusedWithTheNameAtFault) {
  struct Case {
    const char* what;
    std::function<void(TFormObject&)> spoil;
    const char* message;
  };
  const Case cases[] = {
      {"unknown class", [](TFormObject& f) { f.Children[1].ClassName = "TGizmo"; },
       "Erreur de lecture de Loose : Classe TGizmo introuvable"},
      {"unknown handler",
       [](TFormObject& f) { f.Children[0].Children[0].Properties[1].Value = Ident("ItemClik"); },
       "Erreur de lecture de Item1.OnClick : Méthode ItemClik introuvable dans la classe TTestForm"},
      {"handler of another signature",
       [](TFormObject& f) { f.Children[0].Children[0].Properties[1].Value = Ident("Wrong"); },
       "Erreur de lecture de Item1.OnClick : La méthode Wrong ne convient pas à l'événement TItem.OnClick"},
      {"event given a number",
       [](TFormObject& f) { f.Children[0].Children[0].Properties[1].Value = Int(1); },
       "Erreur de lecture de Item1.OnClick : L'événement TItem.OnClick attend le nom d'une méthode"},
      {"unknown property",
       [](TFormObject& f) { f.Children[0].Children[1].Properties.push_back(Prop("Colour", Int(1))); },
       "Erreur de lecture de Item2.Colour : La classe TItem n'a pas de propriété « Colour »"},
      {"duplicate name", [](TFormObject& f) { f.Children[1].Name = "Item2"; },
       "Erreur de lecture de Item2 : Un composant nommé Item2 existe déjà"},
      {"another form class", [](TFormObject& f) { f.ClassName = "TOtherForm"; },
       "Le formulaire stocké est un TOtherForm, pas un TTestForm"},
      {"field without component", [](TFormObject& f) { f.Children[0].Children[0].Name = "Item9"; },
       "Le formulaire stocké n'a pas de composant Item1 pour la classe TTestForm"},
      {"field of another class", [](TFormObject& f) { f.Children[0].ClassName = "TItem"; },
       "Erreur de lecture de Box1 : Le composant Box1 est de classe TItem, qui ne convient pas au "
       "champ du même nom"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TFormObject data = StoredForm();
    c.spoil(data);
    EXPECT_EQ(LoadError(data), c.message);
  }
}

TEST_F(FormBinder, OnCreateDoesNotRunWhenLoadingFails) {
  TFormObject data = StoredForm();
  data.Children[1].Properties.push_back(Prop("Value", {WideString(u"x")}));
  EXPECT_NE(LoadError(data), "no error");
  for (const auto& line : gLog) EXPECT_EQ(line.find("create"), std::string::npos) << line;
}

}  // namespace
}  // namespace rt
