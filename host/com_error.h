#pragma once
// The error raised when a call of a closed component fails and the caller cannot go on, and the
// text and message box that describe a caught one.
#include <cstdint>
#include <optional>
#include <string>

#include "platform/com/error_info.h"
#include "platform/com/unknown.h"

class ComError {
 public:
  explicit ComError(HRESULT code, com::ComPtr<IErrorInfo> errorInfo = nullptr,
                    std::string operation = {});

  HRESULT Error() const { return code_; }
  IErrorInfo* ErrorInfo() const { return errorInfo_.Get(); }
  // The text for the code: the system's message table, else a fallback; asked once, then kept.
  const std::string& ErrorMessage() const;
  // The error information's texts; empty without error information.
  std::u16string Source() const;
  std::u16string Description() const;
  // The failed step, when the raiser named it (e.g. "Commit"); used in error descriptions.
  const std::string& Operation() const { return operation_; }

 private:
  HRESULT code_;
  com::ComPtr<IErrorInfo> errorInfo_;
  std::string operation_;
  mutable std::optional<std::string> message_;
};

// Raises a ComError with the code alone.
[[noreturn]] void RaiseComError(HRESULT code);
// Raises a ComError for a failed call through interface iid of object, carrying the thread's
// error information when the object says (ISupportErrorInfo) it leaves some for that interface.
[[noreturn]] void RaiseComError(HRESULT code, IUnknown* object, REFIID iid);
// As above, naming the failed step for later descriptions.
[[noreturn]] void RaiseComErrorIn(const char* operation, HRESULT code, IUnknown* object = nullptr,
                                  REFIID iid = GUID_NULL);

// Builds the description of a caught error into text (replacing it). line 0 or an empty file
// leaves out the "caught on line" part. Raises ComError(E_OUTOFMEMORY) when memory runs out.
void ComposeComErrorText(const ComError& error, int line, const char* file, std::u16string& text);

// Shows the composed text in a message box owned by the foreground window, with caption, OK and no
// icon. Never raises: running out of memory while the text is built or converted shows a short
// fixed text instead (and, if even that cannot be shown, nothing), so a report can never end the
// process from inside the handler that called it.
void ReportComError(const ComError& error, int line, const char* file,
                    const char* caption) noexcept;

// Where message texts for codes come from; tests replace it to count and script the lookups.
using SystemMessageSource = std::optional<std::string> (*)(std::int32_t code,
                                                           std::uint32_t languageId);
SystemMessageSource SetSystemMessageSourceForTesting(SystemMessageSource source);

// The fixed text ReportComError shows when the full report cannot be built.
inline constexpr char kComErrorOutOfMemoryReport[] =
    "ATL Exception thrown:\n\nOut of memory while describing the error.";
