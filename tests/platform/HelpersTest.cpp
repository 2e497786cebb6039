#include "platform/Forms.h"
#include "platform/StringList.h"

#include <gtest/gtest.h>

namespace {

struct TCounted : TObject {
    explicit TCounted(int* destroyed) : Destroyed(destroyed) {}
    ~TCounted() noexcept(false) override { ++*Destroyed; }
    int* Destroyed;
};

struct TFailing : TObject {
    ~TFailing() noexcept(false) override { throw EInvalidCast("destructor failed"); }
};

} // namespace

TEST(StringList, KeepsOrderDuplicatesAndAttachments)
{
    TStringList list;
    int destroyed = 0;
    TCounted a(&destroyed);
    list.Add("Un");
    list.AddObject("Deux", &a);
    list.Add("un");
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(list.IndexOf("UN"), 0);
    EXPECT_EQ(list.IndexOf("trois"), -1);
    EXPECT_EQ(list.Objects(1), &a);
    EXPECT_EQ(list.IndexOfObject(&a), 1);
    EXPECT_THROW(list.Strings(3), EListError);
    EXPECT_THROW(list.Objects(-1), EListError);
}

TEST(FreeHelpers, FreeObjectAndClearIsSafeToRepeat)
{
    int destroyed = 0;
    TObject* object = new TCounted(&destroyed);
    FreeObjectAndClear(object);
    EXPECT_EQ(object, nullptr);
    FreeObjectAndClear(object);
    EXPECT_EQ(destroyed, 1);
}

TEST(FreeHelpers, FreeListObjectsKeepsStringsAndClearsAttachments)
{
    int destroyed = 0;
    TStringList list;
    list.AddObject("a", new TCounted(&destroyed));
    list.Add("b");
    list.AddObject("c", new TCounted(&destroyed));
    FreeListObjects(&list);
    EXPECT_EQ(destroyed, 2);
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(list.Strings(2), "c");
    EXPECT_EQ(list.Objects(0), nullptr);
    EXPECT_EQ(list.Objects(2), nullptr);
    FreeListObjects(&list); // nothing attached any more
    FreeListObjects(nullptr);
    EXPECT_EQ(destroyed, 2);
}

TEST(FreeHelpers, FreeListWithObjectsSwallowsAFailingDestructor)
{
    int destroyed = 0;
    auto* list = new TStringList;
    list->AddObject("a", new TCounted(&destroyed));
    list->AddObject("b", new TFailing);
    list->AddObject("c", new TCounted(&destroyed));
    EXPECT_NO_THROW(FreeListWithObjects(list));
    EXPECT_EQ(destroyed, 2); // the objects after the failing one are freed too
    EXPECT_NO_THROW(FreeListWithObjects(nullptr));
}

TEST(CheckedCast, RefusesAnotherClass)
{
    int destroyed = 0;
    TCounted counted(&destroyed);
    TObject* object = &counted;
    EXPECT_EQ(CheckedCast<TCounted>(object), &counted);
    EXPECT_EQ(CheckedCast<TCounted>(static_cast<TObject*>(nullptr)), nullptr);
    EXPECT_THROW(CheckedCast<TFailing>(object), EInvalidCast);
}
