#pragma once
// Failing calls leave error information for the caller: the source names the failing object's
// class, the description the cause.
#include <string_view>

#include "platform/com/guid.h"
#include "platform/com/result.h"

namespace rvx {

inline constexpr std::u16string_view kSourceServer = u"RvxServer.Server";
inline constexpr std::u16string_view kSourceDatabase = u"RvxServer.Database";
inline constexpr std::u16string_view kSourceProject = u"RvxServer.Project";
inline constexpr std::u16string_view kSourceAccessControl = u"RvxServer.AccessControl";
inline constexpr std::u16string_view kSourceCommand = u"RvxServer.Command";
inline constexpr std::u16string_view kSourceParameters = u"RvxServer.Parameters";
inline constexpr std::u16string_view kSourceParameter = u"RvxServer.Parameter";

// Sets the calling thread's error information and returns hr.
HRESULT Fail(HRESULT hr, std::u16string_view source, std::u16string_view description,
             const GUID& iid);
// As above, with a description in UTF-8 (store messages).
HRESULT FailUtf8(HRESULT hr, std::u16string_view source, std::string_view description,
                 const GUID& iid);

}  // namespace rvx
