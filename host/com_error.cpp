#include "host/com_error.h"

#include <cstdio>
#include <new>

#include "platform/com/utf.h"
#include "platform/os/message_box.h"
#include "platform/os/os.h"

namespace {

constexpr std::uint32_t kNeutralLanguageDefault = 0x0400;

SystemMessageSource g_messageSource = &os::SystemMessageText;

// One line break at the end goes, and only when the text ends in a line feed.
std::string TrimSystemMessage(std::string text) {
  const std::size_t n = text.size();
  if (n > 1 && text[n - 1] == '\n') {
    text.pop_back();
    if (!text.empty() && text.back() == '\r') text.pop_back();
  }
  return text;
}

std::string FallbackMessage(HRESULT code) {
  const auto value = static_cast<std::uint32_t>(code);
  char buffer[32];
  if (value >= 0x80040201u && value <= 0x8004FFFFu) {
    std::snprintf(buffer, sizeof buffer, "IDispatch error #%d",
                  static_cast<int>(value - 0x80040200u));
  } else {
    std::snprintf(buffer, sizeof buffer, "Unknown error 0x%0lX", static_cast<unsigned long>(value));
  }
  return buffer;
}

// 8-bit texts of the report are UTF-8; a byte sequence that is not valid UTF-8 is taken byte by
// byte rather than dropped, so the report still shows something.
void AppendAnsi(std::u16string& out, std::string_view text) {
  if (auto wide = com::TryToUtf16(text)) {
    out += *wide;
    return;
  }
  for (unsigned char c : text) out += static_cast<char16_t>(c);
}

// Lone surrogates (which a failing component may leave in its description) become U+FFFD so that
// the conversion to 8-bit text cannot fail.
std::string ToAnsiLossy(std::u16string text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    const bool high = c >= 0xD800 && c <= 0xDBFF;
    const bool low = c >= 0xDC00 && c <= 0xDFFF;
    if (high && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      ++i;
    } else if (high || low) {
      text[i] = u'\uFFFD';
    }
  }
  return com::ToUtf8(text);
}

std::u16string ReadInfoText(IErrorInfo* info, HRESULT (IErrorInfo::*getter)(BSTR*)) {
  if (!info) return {};
  com::BStr text;
  if (FAILED((info->*getter)(&text))) return {};
  return std::u16string(text.View());
}

}  // namespace

ComError::ComError(HRESULT code, com::ComPtr<IErrorInfo> errorInfo, std::string operation)
    : code_(code), errorInfo_(std::move(errorInfo)), operation_(std::move(operation)) {}

const std::string& ComError::ErrorMessage() const {
  if (!message_) {
    std::string text;
    try {
      if (auto system = g_messageSource(code_, kNeutralLanguageDefault)) {
        text = TrimSystemMessage(std::move(*system));
      } else {
        text = FallbackMessage(code_);
      }
    } catch (const std::bad_alloc&) {
      text.clear();  // no memory for the text: it stays empty
    }
    message_ = std::move(text);
  }
  return *message_;
}

std::u16string ComError::Source() const {
  return ReadInfoText(errorInfo_.Get(), &IErrorInfo::GetSource);
}

std::u16string ComError::Description() const {
  return ReadInfoText(errorInfo_.Get(), &IErrorInfo::GetDescription);
}

void RaiseComError(HRESULT code) {
  throw ComError(code);
}

namespace {
com::ComPtr<IErrorInfo> ErrorInfoFor(IUnknown* object, REFIID iid) {
  com::ComPtr<IErrorInfo> info;
  if (!object) return info;
  com::ComPtr<ISupportErrorInfo> support;
  if (FAILED(object->QueryInterface(ISupportErrorInfo::IID_, support.ReleaseAndGetVoidAddress())) ||
      !support) {
    return info;
  }
  if (support->InterfaceSupportsErrorInfo(iid) != S_OK) return info;
  GetErrorInfo(0, &info);
  return info;
}
}  // namespace

void RaiseComError(HRESULT code, IUnknown* object, REFIID iid) {
  throw ComError(code, ErrorInfoFor(object, iid));
}

void RaiseComErrorIn(const char* operation, HRESULT code, IUnknown* object, REFIID iid) {
  throw ComError(code, ErrorInfoFor(object, iid), operation ? operation : "");
}

void ComposeComErrorText(const ComError& error, int line, const char* file, std::u16string& text) {
  try {
    const std::u16string source = error.Source();
    const std::u16string description = error.Description();
    text = u"ATL Exception thrown:\n\n";
    AppendAnsi(text, "Err.ErrorMessage() = ");
    AppendAnsi(text, error.ErrorMessage());
    text += u"\nSource: ";
    text += source;
    text += u"\nDescription: ";
    text += description;
    if (line != 0 && file && *file) {
      text += u"\n\nException caught on line ";
      AppendAnsi(text, std::to_string(line));
      text += u" in file '";
      AppendAnsi(text, file);
      text += u"'\n";
    }
  } catch (const std::bad_alloc&) {
    RaiseComError(E_OUTOFMEMORY);
  }
}

void ReportComError(const ComError& error, int line, const char* file,
                    const char* caption) noexcept {
  // Out of memory while the report is built or converted: the handler that called us must not be
  // left by a new error, so show a fixed text instead; if even that fails, drop the report.
  os::MessageBoxRequest request;
  request.owner = os::ForegroundWindow();
  request.buttons = os::MessageBoxButtons::Ok;
  request.icon = os::MessageBoxIcon::None;
  try {
    request.caption = caption ? caption : "";
    std::u16string text;
    ComposeComErrorText(error, line, file, text);
    request.text = ToAnsiLossy(std::move(text));
  } catch (...) {
    try {
      request.text = kComErrorOutOfMemoryReport;
    } catch (...) {
      return;
    }
  }
  try {
    os::ShowMessageBox(request);
  } catch (...) {
    // The front end could not show it; the report is dropped rather than ending the process.
  }
}

SystemMessageSource SetSystemMessageSourceForTesting(SystemMessageSource source) {
  SystemMessageSource previous = g_messageSource;
  g_messageSource = source ? source : &os::SystemMessageText;
  return previous;
}
