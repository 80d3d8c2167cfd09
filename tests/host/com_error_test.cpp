#include "host/com_error.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <new>

#include "platform/com/error_info.h"
#include "platform/com/utf.h"
#include "tests/fakes/fake_com_object.h"
#include "tests/host/host_test_support.h"

namespace {

using ::testing::HasSubstr;

std::string Compose(const ComError& error, int line, const char* file) {
  std::u16string text;
  ComposeComErrorText(error, line, file, text);
  return com::ToUtf8(text);
}

// A system message table scripted per test, counting its lookups.
int g_lookups = 0;
std::optional<std::string> g_systemText;
std::optional<std::string> ScriptedSource(std::int32_t, std::uint32_t languageId) {
  ++g_lookups;
  EXPECT_EQ(languageId, 0x0400u);
  return g_systemText;
}

class ScriptedMessages : public ::testing::Test {
 protected:
  void SetUp() override {
    g_lookups = 0;
    g_systemText.reset();
    previous_ = SetSystemMessageSourceForTesting(&ScriptedSource);
  }
  void TearDown() override { SetSystemMessageSourceForTesting(previous_); }
  SystemMessageSource previous_ = nullptr;
};

struct FallbackCase {
  std::uint32_t code;
  const char* text;
};

class FallbackText : public ::testing::TestWithParam<FallbackCase> {};

TEST_P(FallbackText, WithoutSystemTextUsesTheFallbackFormat) {
  EXPECT_EQ(ComError(MakeHresult(GetParam().code)).ErrorMessage(), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Codes, FallbackText,
                         ::testing::Values(FallbackCase{0x80040200u, "Unknown error 0x80040200"},
                                           FallbackCase{0x80040201u, "IDispatch error #1"},
                                           FallbackCase{0x8004FFFFu, "IDispatch error #65023"},
                                           FallbackCase{0x80050000u, "Unknown error 0x80050000"},
                                           FallbackCase{1u, "Unknown error 0x1"},
                                           FallbackCase{0x8007000Eu, "Unknown error 0x8007000E"}));

struct TrimCase {
  const char* system;
  const char* expected;
};

class SystemTextTrim : public ScriptedMessages, public ::testing::WithParamInterface<TrimCase> {};

TEST_P(SystemTextTrim, OneLineBreakAtTheEndGoesOnlyAfterALineFeed) {
  g_systemText = GetParam().system;
  EXPECT_EQ(ComError(E_FAIL).ErrorMessage(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Texts, SystemTextTrim,
                         ::testing::Values(TrimCase{"Failed.\r\n", "Failed."},
                                           TrimCase{"Failed.\n", "Failed."},
                                           TrimCase{"Failed.\r", "Failed.\r"}, TrimCase{"\n", "\n"},
                                           TrimCase{"x", "x"}, TrimCase{"Two\n\n", "Two\n"},
                                           TrimCase{"Lf then cr\n\r\n", "Lf then cr\n"}));

TEST_F(ScriptedMessages, MessageTextIsAskedOnceAndKept) {
  g_systemText = "first";
  ComError error(E_FAIL);
  EXPECT_EQ(error.ErrorMessage(), "first");
  g_systemText = "second";
  EXPECT_EQ(error.ErrorMessage(), "first");
  EXPECT_EQ(g_lookups, 1);
}

// An error-information object with fixed texts, for errors that carry one.
class FixedErrorInfo : public fakes::FakeComObject<IErrorInfo> {
 public:
  FixedErrorInfo(std::u16string source, std::u16string description, bool throwOnDescription = false)
      : source_(std::move(source)),
        description_(std::move(description)),
        throw_(throwOnDescription) {}
  HRESULT GetGUID(GUID* guid) override {
    *guid = GUID_NULL;
    return S_OK;
  }
  HRESULT GetSource(BSTR* source) override {
    *source = SysAllocString(source_.c_str());
    return S_OK;
  }
  HRESULT GetDescription(BSTR* description) override {
    // Stands for memory running out while the report is built.
    if (throw_) throw std::bad_alloc();
    *description = SysAllocString(description_.c_str());
    return S_OK;
  }
  HRESULT GetHelpFile(BSTR* file) override {
    *file = nullptr;
    return S_OK;
  }
  HRESULT GetHelpContext(std::uint32_t* context) override {
    *context = 0;
    return S_OK;
  }

 private:
  std::u16string source_, description_;
  bool throw_;
};

com::ComPtr<IErrorInfo> Info(std::u16string source, std::u16string description) {
  return com::ComPtr<IErrorInfo>(fakes::MakeFake<FixedErrorInfo>(source, description).Get());
}

TEST(ComposeComErrorText, WithErrorInformationLineAndFile) {
  ComError error(E_FAIL, Info(u"Rvx.Database", u"database is locked"));
  EXPECT_EQ(Compose(error, 309, "BasAccessCtrl"),
            "ATL Exception thrown:\n\nErr.ErrorMessage() = Unknown error 0x80004005"
            "\nSource: Rvx.Database\nDescription: database is locked"
            "\n\nException caught on line 309 in file 'BasAccessCtrl'\n");
}

TEST(ComposeComErrorText, WithoutErrorInformationSourceAndDescriptionStandAlone) {
  EXPECT_EQ(Compose(ComError(MakeHresult(0x80040201u)), 97, "xd186"),
            "ATL Exception thrown:\n\nErr.ErrorMessage() = IDispatch error #1"
            "\nSource: \nDescription: \n\nException caught on line 97 in file 'xd186'\n");
}

TEST(ComposeComErrorText, LineZeroOrNoFileLeavesOutWhereItWasCaught) {
  const std::string expected =
      "ATL Exception thrown:\n\nErr.ErrorMessage() = Unknown error 0x80004005"
      "\nSource: \nDescription: ";
  EXPECT_EQ(Compose(ComError(E_FAIL), 0, "xd186"), expected);
  EXPECT_EQ(Compose(ComError(E_FAIL), 154, nullptr), expected);
  EXPECT_EQ(Compose(ComError(E_FAIL), 154, ""), expected);
}

TEST(ComposeComErrorText, ReplacesWhatTheTextHeld) {
  std::u16string text = u"old";
  ComposeComErrorText(ComError(E_FAIL), 0, nullptr, text);
  EXPECT_EQ(text.rfind(u"ATL Exception thrown:", 0), 0u);
}

TEST(ComposeComErrorText, RunningOutOfMemoryRaisesOutOfMemory) {
  ComError error(E_FAIL,
                 com::ComPtr<IErrorInfo>(fakes::MakeFake<FixedErrorInfo>(u"s", u"d", true).Get()));
  std::u16string text;
  try {
    ComposeComErrorText(error, 1, "f", text);
    FAIL() << "no error raised";
  } catch (const ComError& raised) {
    EXPECT_EQ(raised.Error(), E_OUTOFMEMORY);
  }
}

class ReportComErrorTest : public testing_support::HostTest {};

TEST_F(ReportComErrorTest, ShowsTheComposedTextWithCaptionOkAndNoIcon) {
  Boxes().Expect(os::MessageBoxAnswer::Ok);
  ReportComError(ComError(E_FAIL, Info(u"src", u"desc")), 72, "xd186", "xd186_release() failed");
  ASSERT_EQ(Boxes().Shown().size(), 1u);
  const os::MessageBoxRequest& box = Boxes().Shown()[0];
  EXPECT_EQ(box.caption, "xd186_release() failed");
  EXPECT_EQ(box.buttons, os::MessageBoxButtons::Ok);
  EXPECT_EQ(box.icon, os::MessageBoxIcon::None);
  EXPECT_EQ(box.owner, os::ForegroundWindow());
  EXPECT_EQ(box.text, Compose(ComError(E_FAIL, Info(u"src", u"desc")), 72, "xd186"));
}

TEST_F(ReportComErrorTest, OutOfMemoryWhileComposingShowsAFixedTextInsteadOfRaising) {
  Boxes().Expect(os::MessageBoxAnswer::Ok);
  ComError error(E_FAIL,
                 com::ComPtr<IErrorInfo>(fakes::MakeFake<FixedErrorInfo>(u"s", u"d", true).Get()));
  EXPECT_NO_THROW(ReportComError(error, 309, "BasAccessCtrl", "Functional access control failed"));
  ASSERT_EQ(Boxes().Shown().size(), 1u);
  EXPECT_EQ(Boxes().Shown()[0].text, kComErrorOutOfMemoryReport);
  EXPECT_EQ(Boxes().Shown()[0].caption, "Functional access control failed");
}

TEST_F(ReportComErrorTest, LoneSurrogateInTheDescriptionStillReports) {
  Boxes().Expect(os::MessageBoxAnswer::Ok);
  std::u16string broken = u"bad ";
  broken += static_cast<char16_t>(0xD800);
  ReportComError(ComError(E_FAIL, Info(u"s", broken)), 1, "f", "c");
  ASSERT_EQ(Boxes().Shown().size(), 1u);
  EXPECT_THAT(Boxes().Shown()[0].text, HasSubstr("Description: bad \xEF\xBF\xBD"));
}

// An object that leaves error information for one interface only.
class ErrorLeaver : public fakes::FakeComObject<IErrorInfo, ISupportErrorInfo> {
 public:
  HRESULT GetGUID(GUID*) override { return E_NOTIMPL; }
  HRESULT GetSource(BSTR*) override { return E_NOTIMPL; }
  HRESULT GetDescription(BSTR*) override { return E_NOTIMPL; }
  HRESULT GetHelpFile(BSTR*) override { return E_NOTIMPL; }
  HRESULT GetHelpContext(std::uint32_t*) override { return E_NOTIMPL; }
  HRESULT InterfaceSupportsErrorInfo(REFIID iid) override {
    return iid == IErrorInfo::IID_ ? S_OK : S_FALSE;
  }
};

TEST(RaiseComError, TakesTheThreadsErrorInformationWhenTheObjectSupportsIt) {
  auto object = fakes::MakeFake<ErrorLeaver>();
  com::SetThreadErrorInfo(u"Leaver", u"it failed");
  try {
    RaiseComError(E_FAIL, object->GetUnknown(), IErrorInfo::IID_);
  } catch (const ComError& error) {
    EXPECT_EQ(error.Error(), E_FAIL);
    EXPECT_EQ(error.Source(), u"Leaver");
    EXPECT_EQ(error.Description(), u"it failed");
  }
}

TEST(RaiseComError, NoErrorInformationForAnUnsupportedInterfaceOrWithoutObject) {
  auto object = fakes::MakeFake<ErrorLeaver>();
  com::SetThreadErrorInfo(u"Leaver", u"it failed");
  try {
    RaiseComError(E_FAIL, object->GetUnknown(), ISupportErrorInfo::IID_);
  } catch (const ComError& error) {
    EXPECT_EQ(error.ErrorInfo(), nullptr);
    EXPECT_EQ(error.Source(), u"");
  }
  try {
    RaiseComError(E_POINTER);
  } catch (const ComError& error) {
    EXPECT_EQ(error.Error(), E_POINTER);
    EXPECT_EQ(error.ErrorInfo(), nullptr);
  }
  SetErrorInfo(0, nullptr);
}

}  // namespace
