#include "platform/com/class_object.h"

#include <gtest/gtest.h>

#include "platform/com/object.h"

namespace {

const CLSID kWidgetClass = com::MakeGuid("{6A1B0301-0000-4000-8000-000000000001}");
const CLSID kOtherClass = com::MakeGuid("{6A1B0302-0000-4000-8000-000000000001}");
const CLSID kUnknownClass = com::MakeGuid("{6A1B0303-0000-4000-8000-000000000001}");

struct IWidget : IUnknown {
  static constexpr GUID IID_ = com::MakeGuid("{6A1B0311-0000-4000-8000-000000000001}");
  using Base = IUnknown;
  virtual int Tag() = 0;
};
struct IAbsent : IUnknown {
  static constexpr GUID IID_ = com::MakeGuid("{6A1B0312-0000-4000-8000-000000000001}");
  using Base = IUnknown;
};

class Widget : public com::Implements<IWidget> {
 public:
  explicit Widget(int tag) : tag_(tag) {}
  int Tag() override { return tag_; }

 private:
  int tag_;
};

// Runs when asked, or refuses.
class RunnableWidget : public com::Implements<IWidget, IRunnableObject> {
 public:
  explicit RunnableWidget(HRESULT runResult) : runResult_(runResult) {}
  int Tag() override { return running_ ? 1 : 0; }
  HRESULT Run() override {
    if (SUCCEEDED(runResult_)) running_ = true;
    return runResult_;
  }
  BOOL IsRunning() override { return running_; }

 private:
  HRESULT runResult_;
  bool running_ = false;
};

// Makes widgets with a tag, plain or inside an outer object.
class WidgetFactory : public com::Implements<IClassFactory> {
 public:
  explicit WidgetFactory(int tag) : tag_(tag) {}
  HRESULT CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
    if (!object) return E_POINTER;
    *object = nullptr;
    ++created;
    if (outer) {
      if (iid != IUnknown::IID_) return CLASS_E_NOAGGREGATION;
      IUnknown* inner = nullptr;
      HRESULT hr = com::Aggregated<Widget>::Create(outer, &inner, tag_);
      *object = inner;
      return hr;
    }
    com::ComPtr<Widget> widget;
    HRESULT hr = com::Object<Widget>::Create(&widget, tag_);
    if (FAILED(hr)) return hr;
    return widget->QueryInterface(iid, object);
  }
  HRESULT LockServer(BOOL) override { return S_OK; }
  int created = 0;

 private:
  int tag_;
};

class RunnableFactory : public com::Implements<IClassFactory> {
 public:
  explicit RunnableFactory(HRESULT runResult) : runResult_(runResult) {}
  HRESULT CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
    if (outer) return CLASS_E_NOAGGREGATION;
    com::ComPtr<RunnableWidget> widget;
    HRESULT hr = com::Object<RunnableWidget>::Create(&widget, runResult_);
    if (FAILED(hr)) return hr;
    return static_cast<IWidget*>(widget.Get())->QueryInterface(iid, object);
  }
  HRESULT LockServer(BOOL) override { return S_OK; }

 private:
  HRESULT runResult_;
};

// Registers a class object for the length of a test.
class Registration {
 public:
  Registration(REFCLSID clsid, IUnknown* classObject) {
    EXPECT_EQ(CoRegisterClassObject(clsid, classObject, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE,
                                    &cookie_),
              S_OK);
  }
  ~Registration() { CoRevokeClassObject(cookie_); }
  std::uint32_t Cookie() const { return cookie_; }

 private:
  std::uint32_t cookie_ = 0;
};

template <class Factory, class... Args>
com::ComPtr<Factory> MakeFactory(Args... args) {
  com::ComPtr<Factory> factory;
  EXPECT_EQ(com::Object<Factory>::Create(&factory, args...), S_OK);
  return factory;
}

TEST(ClassObjectTest, CreatesARegisteredClassByItsIdentity) {
  auto factory = MakeFactory<WidgetFactory>(5);
  Registration registration(kWidgetClass, factory->GetUnknown());
  com::ComPtr<IWidget> widget;
  ASSERT_EQ(CoCreateInstance(kWidgetClass, nullptr, CLSCTX_ALL, IWidget::IID_,
                             widget.ReleaseAndGetVoidAddress()),
            S_OK);
  EXPECT_EQ(widget->Tag(), 5);

  com::ComPtr<IClassFactory> classObject;
  ASSERT_EQ(CoGetClassObject(kWidgetClass, CLSCTX_ALL, nullptr, IClassFactory::IID_,
                             classObject.ReleaseAndGetVoidAddress()),
            S_OK);
  EXPECT_EQ(classObject.Get(), static_cast<IClassFactory*>(factory.Get()));

  void* out = &out;
  EXPECT_EQ(CoCreateInstance(kWidgetClass, nullptr, CLSCTX_ALL, IAbsent::IID_, &out),
            E_NOINTERFACE);
  EXPECT_EQ(out, nullptr);
  EXPECT_EQ(CoCreateInstance(kWidgetClass, nullptr, CLSCTX_ALL, IWidget::IID_, nullptr), E_POINTER);
}

TEST(ClassObjectTest, UnknownAndRevokedClassesAreNotRegistered) {
  void* out = &out;
  EXPECT_EQ(CoCreateInstance(kUnknownClass, nullptr, CLSCTX_ALL, IUnknown::IID_, &out),
            REGDB_E_CLASSNOTREG);
  EXPECT_EQ(out, nullptr);

  auto factory = MakeFactory<WidgetFactory>(1);
  std::uint32_t cookie = 0;
  ASSERT_EQ(CoRegisterClassObject(kOtherClass, factory->GetUnknown(), CLSCTX_INPROC_SERVER,
                                  REGCLS_MULTIPLEUSE, &cookie),
            S_OK);
  EXPECT_EQ(CoRevokeClassObject(cookie), S_OK);
  EXPECT_EQ(CoRevokeClassObject(cookie), E_INVALIDARG);
  EXPECT_EQ(CoCreateInstance(kOtherClass, nullptr, CLSCTX_ALL, IUnknown::IID_, &out),
            REGDB_E_CLASSNOTREG);
}

TEST(ClassObjectTest, RegistrationHoldsTheClassObject) {
  com::ComPtr<WidgetFactory> factory = MakeFactory<WidgetFactory>(2);
  IUnknown* unknown = factory->GetUnknown();
  std::uint32_t cookie = 0;
  ASSERT_EQ(CoRegisterClassObject(kOtherClass, unknown, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE,
                                  &cookie),
            S_OK);
  unknown->AddRef();
  EXPECT_EQ(unknown->Release(), 2u);
  ASSERT_EQ(CoRevokeClassObject(cookie), S_OK);
  unknown->AddRef();
  EXPECT_EQ(unknown->Release(), 1u);
  EXPECT_EQ(CoRegisterClassObject(kOtherClass, nullptr, 0, 0, &cookie), E_INVALIDARG);
  EXPECT_EQ(CoRegisterClassObject(kOtherClass, unknown, 0, 0, nullptr), E_INVALIDARG);
}

TEST(ClassObjectTest, TheNewestRegistrationWins) {
  auto first = MakeFactory<WidgetFactory>(1);
  auto second = MakeFactory<WidgetFactory>(2);
  Registration one(kWidgetClass, first->GetUnknown());
  com::ComPtr<IWidget> widget;
  {
    Registration two(kWidgetClass, second->GetUnknown());
    ASSERT_EQ(CoCreateInstance(kWidgetClass, nullptr, CLSCTX_ALL, IWidget::IID_,
                               widget.ReleaseAndGetVoidAddress()),
              S_OK);
    EXPECT_EQ(widget->Tag(), 2);
  }
  ASSERT_EQ(CoCreateInstance(kWidgetClass, nullptr, CLSCTX_ALL, IWidget::IID_,
                             widget.ReleaseAndGetVoidAddress()),
            S_OK);
  EXPECT_EQ(widget->Tag(), 1);
}

// An outer object that aggregates a widget created by class identity.
class Holder : public com::Implements<IAbsent> {};

TEST(ClassObjectTest, CreatesInsideAnOuterObjectOnlyForIUnknown) {
  auto factory = MakeFactory<WidgetFactory>(9);
  Registration registration(kWidgetClass, factory->GetUnknown());
  com::ComPtr<Holder> holder;
  ASSERT_EQ(com::Object<Holder>::Create(&holder), S_OK);

  void* out = &out;
  EXPECT_EQ(CoCreateInstance(kWidgetClass, holder->GetUnknown(), CLSCTX_ALL, IWidget::IID_, &out),
            CLASS_E_NOAGGREGATION);
  EXPECT_EQ(out, nullptr);
  EXPECT_EQ(factory->created, 0);  // refused before the class object is asked

  com::ComPtr<IUnknown> inner;
  ASSERT_EQ(CoCreateInstance(kWidgetClass, holder->GetUnknown(), CLSCTX_ALL, IUnknown::IID_,
                             inner.ReleaseAndGetVoidAddress()),
            S_OK);
  com::ComPtr<IWidget> widget = inner.Query<IWidget>();
  ASSERT_TRUE(widget);
  EXPECT_EQ(widget->Tag(), 9);
  // The widget's IUnknown is the holder's.
  EXPECT_EQ(widget.Query<IUnknown>().Get(), holder->GetUnknown());
}

TEST(ClassObjectTest, ProgIdsOfThisProcess) {
  ASSERT_EQ(com::RegisterProgId(u"Test.Widget.1", kWidgetClass), S_OK);
  CLSID clsid{};
  ASSERT_EQ(CLSIDFromProgID(u"Test.Widget.1", &clsid), S_OK);
  EXPECT_EQ(clsid, kWidgetClass);
  com::UnregisterProgId(u"Test.Widget.1");
  EXPECT_TRUE(FAILED(CLSIDFromProgID(u"Test.Widget.1", &clsid)));
  EXPECT_EQ(CLSIDFromProgID(nullptr, &clsid), E_INVALIDARG);
  EXPECT_EQ(CLSIDFromProgID(u"Test.Widget.1", nullptr), E_INVALIDARG);
}

TEST(ClassObjectTest, OleRunRunsRunnableObjectsAndAcceptsOthers) {
  com::ComPtr<Widget> plain;
  ASSERT_EQ(com::Object<Widget>::Create(&plain, 0), S_OK);
  EXPECT_EQ(OleRun(plain->GetUnknown()), S_OK);
  EXPECT_EQ(OleRun(nullptr), E_INVALIDARG);

  com::ComPtr<RunnableWidget> runnable;
  ASSERT_EQ(com::Object<RunnableWidget>::Create(&runnable, S_OK), S_OK);
  EXPECT_EQ(OleRun(runnable->GetUnknown()), S_OK);
  EXPECT_TRUE(runnable->IsRunning());

  com::ComPtr<RunnableWidget> refusing;
  ASSERT_EQ(com::Object<RunnableWidget>::Create(&refusing, E_ACCESSDENIED), S_OK);
  EXPECT_EQ(OleRun(refusing->GetUnknown()), E_ACCESSDENIED);
}

TEST(ClassObjectTest, CreateRunningCreatesRunsAndQueries) {
  auto factory = MakeFactory<RunnableFactory>(S_OK);
  Registration registration(kWidgetClass, factory->GetUnknown());
  com::ComPtr<IWidget> widget;
  ASSERT_EQ(com::CreateRunning(kWidgetClass, &widget), S_OK);
  EXPECT_EQ(widget->Tag(), 1);  // it was run

  com::ComPtr<IAbsent> absent;
  EXPECT_EQ(com::CreateRunning(kWidgetClass, &absent), E_NOINTERFACE);
  EXPECT_FALSE(absent);
  EXPECT_EQ(com::CreateRunning(kUnknownClass, &widget), REGDB_E_CLASSNOTREG);
  EXPECT_FALSE(widget);
  EXPECT_EQ(com::CreateRunning<IWidget>(kWidgetClass, nullptr), E_POINTER);
}

TEST(ClassObjectTest, CreateRunningFailsWhenTheObjectWillNotRun) {
  auto factory = MakeFactory<RunnableFactory>(E_FAIL);
  Registration registration(kWidgetClass, factory->GetUnknown());
  com::ComPtr<IWidget> widget;
  EXPECT_EQ(com::CreateRunning(kWidgetClass, &widget), E_FAIL);
  EXPECT_FALSE(widget);
}

}  // namespace
