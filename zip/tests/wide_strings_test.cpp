#include "zip/wide_strings.h"

#include <gtest/gtest.h>

#include "runtime/exceptions.h"

namespace zip {
namespace {

void Fill(TWideStrings& list, std::initializer_list<const char16_t*> items) {
  for (const auto* s : items) list.Add(s);
}

std::vector<WideString> Items(const TWideStrings& list) {
  std::vector<WideString> items;
  for (int i = 0; i < list.Count(); ++i) items.push_back(list.Get(i));
  return items;
}

using Texts = std::vector<WideString>;

TEST(WideStringListTest, EditsKeepTheOrder) {
  TWideStringList list;
  EXPECT_EQ(list.Add(u"b"), 0);
  EXPECT_EQ(list.Add(u"d"), 1);
  list.Insert(0, u"a");
  list.Insert(2, u"c");
  list.Insert(4, u"e");
  EXPECT_EQ(Items(list), (Texts{u"a", u"b", u"c", u"d", u"e"}));
  list.Delete(0);
  list.Delete(3);
  list.Put(1, u"C");
  EXPECT_EQ(Items(list), (Texts{u"b", u"C", u"d"}));
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
}

TEST(WideStringListTest, BadIndexRaisesListErrorNamingIt) {
  TWideStringList list;
  Fill(list, {u"a", u"b"});
  auto expectIndexError = [](auto&& call, const char16_t* message) {
    try {
      call();
      ADD_FAILURE() << "no EListError";
    } catch (const rt::EListError& e) {
      EXPECT_EQ(e.Message(), message);
    }
  };
  expectIndexError([&] { list.Get(2); }, u"Indice de liste hors limites (2)");
  expectIndexError([&] { list.Get(-1); }, u"Indice de liste hors limites (-1)");
  expectIndexError([&] { list.Put(2, u"x"); }, u"Indice de liste hors limites (2)");
  expectIndexError([&] { list.Delete(2); }, u"Indice de liste hors limites (2)");
  expectIndexError([&] { list.Insert(3, u"x"); }, u"Indice de liste hors limites (3)");
  expectIndexError([&] { list.Insert(-1, u"x"); }, u"Indice de liste hors limites (-1)");
  EXPECT_EQ(Items(list), (Texts{u"a", u"b"}));
}

TEST(WideStringListTest, IndexOfIgnoresCaseUnlessAskedNotTo) {
  TWideStringList list;
  Fill(list, {u"*.TXT", u"Été\\*", u"*.txt"});
  EXPECT_EQ(list.IndexOf(u"*.txt"), 0);
  EXPECT_EQ(list.IndexOf(u"été\\*"), 1);
  EXPECT_EQ(list.IndexOf(u"*.tx"), -1);
  list.SetCaseSensitive(true);
  EXPECT_EQ(list.IndexOf(u"*.txt"), 2);
  EXPECT_EQ(list.IndexOf(u"été\\*"), -1);
}

TEST(WideStringListTest, AssignReplacesTheWholeList) {
  TWideStringList source;
  Fill(source, {u"x", u"y"});
  TWideStringList target;
  Fill(target, {u"old1", u"old2", u"old3"});
  target.Assign(source);
  EXPECT_EQ(Items(target), (Texts{u"x", u"y"}));
  target.Assign(target);
  EXPECT_EQ(Items(target), (Texts{u"x", u"y"}));
}

TEST(WideStringListTest, AssignFromAnotherKindRaisesConvertError) {
  class TOther : public rt::TPersistent {};
  TWideStringList list;
  Fill(list, {u"kept"});
  EXPECT_THROW(list.Assign(TOther()), rt::EConvertError);
  EXPECT_EQ(Items(list), (Texts{u"kept"}));
}

}  // namespace
}  // namespace zip
