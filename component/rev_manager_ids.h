#pragma once
// Identities of the component: the class, its dual interface and the type library VNMORMGRLib 1.0.
#include "platform/com/guid.h"

inline constexpr IID IID_IRevManager = com::MakeGuid("{4F1C2A7E-93B5-4D0A-8E61-2C7B9D3E5A14}");
inline constexpr CLSID CLSID_RevManager = com::MakeGuid("{8A3D6E21-5B7C-4F9E-A1D2-6E4F0B8C7D35}");
inline constexpr GUID LIBID_VNMORMGRLib = com::MakeGuid("{C2E5B8D4-1A6F-4B3C-9D7E-0F5A2B8C4E96}");
inline constexpr unsigned short kVnmorMgrLibMajor = 1;
inline constexpr unsigned short kVnmorMgrLibMinor = 0;

inline constexpr char16_t kRevManagerProgId[] = u"VNMORMgr.RevManager.1";
inline constexpr char16_t kRevManagerVersionIndependentProgId[] = u"VNMORMgr.RevManager";
