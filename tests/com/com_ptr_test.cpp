#include <gtest/gtest.h>

#include <utility>

#include "platform/com/object.h"
#include "platform/com/unknown.h"

namespace {

struct IProbe : IUnknown {
  static constexpr GUID IID_ = com::MakeGuid("{6A1B0101-0000-4000-8000-000000000001}");
  using Base = IUnknown;
};
struct IOther : IUnknown {
  static constexpr GUID IID_ = com::MakeGuid("{6A1B0102-0000-4000-8000-000000000001}");
  using Base = IUnknown;
};
struct IAbsent : IUnknown {
  static constexpr GUID IID_ = com::MakeGuid("{6A1B0103-0000-4000-8000-000000000001}");
  using Base = IUnknown;
};

class Probe : public com::Implements<IProbe, IOther> {
 public:
  explicit Probe(bool* destroyed) : destroyed_(destroyed) {}
  ~Probe() override { *destroyed_ = true; }

 private:
  bool* destroyed_;
};

ULONG RefCount(IUnknown* p) {
  p->AddRef();
  return p->Release();
}

class ComPtrTest : public testing::Test {
 protected:
  void SetUp() override {
    com::ComPtr<Probe> probe;
    ASSERT_EQ(com::Object<Probe>::Create(&probe, &destroyed_), S_OK);
    raw_ = probe.Get();
    ptr_ = probe;  // to the IProbe interface
  }
  ULONG Count() { return RefCount(raw_->GetUnknown()); }

  bool destroyed_ = false;
  Probe* raw_ = nullptr;
  com::ComPtr<IProbe> ptr_;
};

TEST_F(ComPtrTest, CopyAddsAReferenceMoveDoesNot) {
  EXPECT_EQ(Count(), 1u);
  com::ComPtr<IProbe> copy(ptr_);
  EXPECT_EQ(Count(), 2u);
  com::ComPtr<IProbe> assigned;
  assigned = copy;
  EXPECT_EQ(Count(), 3u);
  com::ComPtr<IProbe> moved(std::move(copy));
  EXPECT_FALSE(copy);
  EXPECT_EQ(Count(), 3u);
  assigned = assigned;  // self-assignment keeps the reference
  EXPECT_EQ(Count(), 3u);
  moved.Reset();
  assigned = nullptr;
  EXPECT_EQ(Count(), 1u);
  ptr_ = nullptr;
  EXPECT_TRUE(destroyed_);
}

TEST_F(ComPtrTest, AddressOfReleasesWhatWasHeldFirst) {
  com::ComPtr<IProbe> other(ptr_);
  EXPECT_EQ(Count(), 2u);
  IProbe** slot = &other;
  EXPECT_EQ(*slot, nullptr);
  EXPECT_EQ(Count(), 1u);
  *slot = ptr_.Get();  // as a callee filling the out-parameter with a new reference
  ptr_->AddRef();
  EXPECT_EQ(other.Get(), ptr_.Get());
  void** voidSlot = other.ReleaseAndGetVoidAddress();
  EXPECT_EQ(*voidSlot, nullptr);
  EXPECT_EQ(Count(), 1u);
}

TEST_F(ComPtrTest, AttachTakesOverAndDetachGivesUpWithoutCounting) {
  IProbe* detached = ptr_.Detach();
  EXPECT_FALSE(ptr_);
  EXPECT_EQ(Count(), 1u);
  EXPECT_FALSE(destroyed_);
  com::ComPtr<IProbe> holder;
  holder.Attach(detached);
  EXPECT_EQ(Count(), 1u);
  // Attaching over a held reference releases the old one.
  com::ComPtr<IProbe> second(holder);
  EXPECT_EQ(Count(), 2u);
  second.Attach(nullptr);
  EXPECT_EQ(Count(), 1u);
  holder = nullptr;
  EXPECT_TRUE(destroyed_);
}

TEST_F(ComPtrTest, AdoptDoesNotAddAReference) {
  ptr_->AddRef();
  com::ComPtr<IProbe> adopted = com::Adopt(ptr_.Get());
  EXPECT_EQ(Count(), 2u);
}

TEST_F(ComPtrTest, CopyToHandsOutANewReference) {
  IProbe* out = nullptr;
  ASSERT_EQ(ptr_.CopyTo(&out), S_OK);
  EXPECT_EQ(out, ptr_.Get());
  EXPECT_EQ(Count(), 2u);
  out->Release();
  EXPECT_EQ(ptr_.CopyTo(nullptr), E_POINTER);
}

TEST_F(ComPtrTest, TypedQueries) {
  com::ComPtr<IOther> other;
  ASSERT_EQ(ptr_.As(&other), S_OK);
  EXPECT_EQ(other.Get(), static_cast<IOther*>(raw_));
  EXPECT_EQ(Count(), 2u);
  // Querying into a holder that already has a reference releases it first.
  ASSERT_EQ(ptr_.As(&other), S_OK);
  EXPECT_EQ(Count(), 2u);

  com::ComPtr<IAbsent> absent;
  EXPECT_EQ(ptr_.As(&absent), E_NOINTERFACE);
  EXPECT_FALSE(absent);
  EXPECT_FALSE(ptr_.Query<IAbsent>());
  EXPECT_TRUE(ptr_.Query<IOther>());

  com::ComPtr<IProbe> empty;
  EXPECT_EQ(empty.As(&other), E_POINTER);
  EXPECT_FALSE(other);
  EXPECT_EQ(ptr_.As<IOther>(nullptr), E_POINTER);
}

TEST_F(ComPtrTest, ComparesByPointer) {
  com::ComPtr<IProbe> copy(ptr_);
  EXPECT_TRUE(copy == ptr_);
  EXPECT_FALSE(copy == nullptr);
  copy = nullptr;
  EXPECT_TRUE(copy == nullptr);
  com::ComPtr<IUnknown> base(ptr_);  // conversion to a base interface adds a reference
  EXPECT_EQ(Count(), 2u);
}

}  // namespace
