#include "platform/com/object.h"

#include <gtest/gtest.h>

namespace {

struct IFoo : IUnknown {
  static constexpr GUID IID_ = com::MakeGuid("{6A1B0001-0000-4000-8000-000000000001}");
  using Base = IUnknown;
  virtual int Foo() = 0;
};

struct IFooEx : IFoo {
  static constexpr GUID IID_ = com::MakeGuid("{6A1B0002-0000-4000-8000-000000000001}");
  using Base = IFoo;
  virtual int FooEx() = 0;
};

struct IBar : IUnknown {
  static constexpr GUID IID_ = com::MakeGuid("{6A1B0003-0000-4000-8000-000000000001}");
  using Base = IUnknown;
  virtual int Bar() = 0;
};

struct IAbsent : IUnknown {
  static constexpr GUID IID_ = com::MakeGuid("{6A1B0004-0000-4000-8000-000000000001}");
  using Base = IUnknown;
};

// The count an object reports after one more AddRef and its Release.
ULONG RefCount(IUnknown* p) {
  p->AddRef();
  return p->Release();
}

class Thing : public com::Implements<IFooEx, IBar> {
 public:
  explicit Thing(int* destroyed = nullptr, HRESULT finalResult = S_OK)
      : destroyed_(destroyed), finalResult_(finalResult) {}
  ~Thing() override {
    if (destroyed_) ++*destroyed_;
  }
  HRESULT FinalConstruct() {
    // Handing itself around during construction must not destroy the object.
    com::ComPtr<IBar> self;
    if (FAILED(QueryInterface(IBar::IID_, self.ReleaseAndGetVoidAddress()))) return E_FAIL;
    self = nullptr;
    return finalResult_;
  }
  int Foo() override { return 1; }
  int FooEx() override { return 2; }
  int Bar() override { return 3; }

 private:
  int* destroyed_;
  HRESULT finalResult_;
};

TEST(ObjectTest, CreateHandsOutOneReferenceAndReleaseDestroysAtZero) {
  int destroyed = 0;
  com::ComPtr<Thing> thing;
  ASSERT_EQ(com::Object<Thing>::Create(&thing, &destroyed), S_OK);
  EXPECT_EQ(destroyed, 0);  // survived its FinalConstruct's own AddRef and Release
  EXPECT_EQ(RefCount(thing->GetUnknown()), 1u);
  IFoo* raw = thing.Get();
  EXPECT_EQ(raw->AddRef(), 2u);
  EXPECT_EQ(raw->Release(), 1u);
  thing = nullptr;
  EXPECT_EQ(destroyed, 1);
}

TEST(ObjectTest, FailingFinalConstructDestroysTheObject) {
  int destroyed = 0;
  com::ComPtr<Thing> thing;
  EXPECT_EQ(com::Object<Thing>::Create(&thing, &destroyed, E_ACCESSDENIED), E_ACCESSDENIED);
  EXPECT_FALSE(thing);
  EXPECT_EQ(destroyed, 1);
  EXPECT_EQ(com::Object<Thing>::Create(static_cast<Thing**>(nullptr)), E_POINTER);
}

TEST(ObjectTest, QueryAnswersListedInterfacesAndTheirBases) {
  com::ComPtr<Thing> thing;
  ASSERT_EQ(com::Object<Thing>::Create(&thing), S_OK);
  com::ComPtr<IFoo> foo = thing.Query<IFoo>();
  com::ComPtr<IFooEx> fooEx = thing.Query<IFooEx>();
  com::ComPtr<IBar> bar = thing.Query<IBar>();
  ASSERT_TRUE(foo && fooEx && bar);
  EXPECT_EQ(foo->Foo(), 1);
  EXPECT_EQ(fooEx->FooEx(), 2);
  EXPECT_EQ(bar->Bar(), 3);
  EXPECT_EQ(RefCount(thing->GetUnknown()), 4u);
  // One identity, whichever interface is asked.
  com::ComPtr<IUnknown> fromFoo = foo.Query<IUnknown>();
  com::ComPtr<IUnknown> fromBar = bar.Query<IUnknown>();
  EXPECT_EQ(fromFoo.Get(), fromBar.Get());
  EXPECT_EQ(fromFoo.Get(), thing->GetUnknown());

  void* out = &out;
  EXPECT_EQ(thing->QueryInterface(IAbsent::IID_, &out), E_NOINTERFACE);
  EXPECT_EQ(out, nullptr);
  EXPECT_EQ(thing->QueryInterface(IFoo::IID_, nullptr), E_POINTER);
  EXPECT_EQ(RefCount(thing->GetUnknown()), 6u);
}

// An inner object living inside Outer.
class Inner : public com::Implements<IBar> {
 public:
  explicit Inner(int* destroyed) : destroyed_(destroyed) {}
  ~Inner() override { ++*destroyed_; }
  int Bar() override { return 30; }

 private:
  int* destroyed_;
};

// Answers IFoo itself and IBar through its aggregated inner object.
class Outer : public com::Implements<IFoo> {
 public:
  Outer(int* outerDestroyed, int* innerDestroyed)
      : outerDestroyed_(outerDestroyed), innerDestroyed_(innerDestroyed) {}
  ~Outer() override { ++*outerDestroyed_; }
  HRESULT FinalConstruct() {
    return com::Aggregated<Inner>::Create(GetUnknown(), &inner_, innerDestroyed_);
  }
  HRESULT InternalQueryInterface(REFIID iid, void** out) {
    HRESULT hr = Implements::InternalQueryInterface(iid, out);
    if (hr == E_NOINTERFACE && iid == IBar::IID_) return inner_->QueryInterface(iid, out);
    return hr;
  }
  int Foo() override { return 10; }
  IUnknown* InnerUnknown() const { return inner_.Get(); }

 private:
  int* outerDestroyed_;
  int* innerDestroyed_;
  com::ComPtr<IUnknown> inner_;
};

class AggregationTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(com::Object<Outer>::Create(&outer_, &outerDestroyed_, &innerDestroyed_), S_OK);
  }
  int outerDestroyed_ = 0;
  int innerDestroyed_ = 0;
  com::ComPtr<Outer> outer_;
};

TEST_F(AggregationTest, InnerInterfacesCountOnTheOuterObject) {
  com::ComPtr<IBar> bar = outer_.Query<IBar>();
  ASSERT_TRUE(bar);
  EXPECT_EQ(bar->Bar(), 30);
  EXPECT_EQ(RefCount(outer_.Get()), 2u);
  EXPECT_EQ(bar->AddRef(), 3u);  // the outer object's count
  EXPECT_EQ(bar->Release(), 2u);
  EXPECT_EQ(RefCount(outer_->InnerUnknown()), 1u);  // the inner count stays the outer's one
}

TEST_F(AggregationTest, QueriesThroughTheInnerInterfaceGoToTheOuterObject) {
  com::ComPtr<IBar> bar = outer_.Query<IBar>();
  ASSERT_TRUE(bar);
  com::ComPtr<IFoo> foo = bar.Query<IFoo>();  // only the outer object has IFoo
  ASSERT_TRUE(foo);
  EXPECT_EQ(foo->Foo(), 10);
  com::ComPtr<IUnknown> identity = bar.Query<IUnknown>();
  EXPECT_EQ(identity.Get(), outer_->GetUnknown());
  EXPECT_NE(identity.Get(), outer_->InnerUnknown());
}

TEST_F(AggregationTest, NonDelegatingUnknownKeepsItsOwnCountAndIdentity) {
  IUnknown* inner = outer_->InnerUnknown();
  com::ComPtr<IUnknown> innerAgain;
  ASSERT_EQ(inner->QueryInterface(IUnknown::IID_, innerAgain.ReleaseAndGetVoidAddress()), S_OK);
  EXPECT_EQ(innerAgain.Get(), inner);
  EXPECT_EQ(RefCount(inner), 2u);
  EXPECT_EQ(RefCount(outer_.Get()), 1u);

  com::ComPtr<IBar> bar;
  ASSERT_EQ(inner->QueryInterface(IBar::IID_, bar.ReleaseAndGetVoidAddress()), S_OK);
  EXPECT_EQ(RefCount(outer_.Get()), 2u);  // the reference went to the outer object
  EXPECT_EQ(RefCount(inner), 2u);

  void* out = &out;
  EXPECT_EQ(inner->QueryInterface(IFoo::IID_, &out), E_NOINTERFACE);
  EXPECT_EQ(out, nullptr);
}

TEST_F(AggregationTest, ReleasingTheOuterObjectDestroysBoth) {
  com::ComPtr<IBar> bar = outer_.Query<IBar>();
  outer_ = nullptr;
  EXPECT_EQ(outerDestroyed_, 0);  // bar still holds the outer object
  bar = nullptr;
  EXPECT_EQ(outerDestroyed_, 1);
  EXPECT_EQ(innerDestroyed_, 1);
}

TEST(AggregatedTest, NeedsAnOuterObjectAndAnOutParameter) {
  int destroyed = 0;
  IUnknown* inner = reinterpret_cast<IUnknown*>(&destroyed);
  EXPECT_EQ(com::Aggregated<Inner>::Create(nullptr, &inner, &destroyed), E_INVALIDARG);
  EXPECT_EQ(inner, nullptr);
  EXPECT_EQ(destroyed, 0);
  com::ComPtr<Thing> thing;
  ASSERT_EQ(com::Object<Thing>::Create(&thing), S_OK);
  EXPECT_EQ(com::Aggregated<Inner>::Create(thing->GetUnknown(), nullptr, &destroyed), E_POINTER);
}

}  // namespace
