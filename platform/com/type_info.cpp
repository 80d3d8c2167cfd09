#include "platform/com/type_info.h"

#include <new>
#include <vector>

#include "platform/com/dispatch_invoker.h"
#include "platform/com/error_info.h"
#include "platform/com/object.h"
#include "platform/com/type_library.h"
#include "platform/com/utf.h"

namespace com {

namespace {

bool SameName(std::u16string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char16_t x = a[i];
    char y = b[i];
    if (x >= u'A' && x <= u'Z') x = static_cast<char16_t>(x - u'A' + u'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != static_cast<unsigned char>(y)) return false;
  }
  return true;
}

HRESULT CopyText(std::string_view text, BSTR* out) {
  if (!out) return S_OK;
  try {
    *out = BStr::FromUtf8(text).Detach();
    return S_OK;
  } catch (...) {
    *out = nullptr;
    return E_OUTOFMEMORY;
  }
}

bool KindMatches(INVOKEKIND kind, std::uint16_t flags) {
  switch (kind) {
    case INVOKE_FUNC:
      return flags & DISPATCH_METHOD;
    case INVOKE_PROPERTYGET:
      return flags & DISPATCH_PROPERTYGET;
    case INVOKE_PROPERTYPUT:
      return flags & DISPATCH_PROPERTYPUT;
    case INVOKE_PROPERTYPUTREF:
      return flags & DISPATCH_PROPERTYPUTREF;
  }
  return false;
}

bool SameFamily(VARTYPE a, VARTYPE b) {
  auto family = [](VARTYPE t) -> VARTYPE {
    const VARTYPE base = static_cast<VARTYPE>(t & ~VT_BYREF);
    const VARTYPE mapped = base == VARTYPE{VT_BOOL} ? VARTYPE{VT_I2} : base;
    return static_cast<VARTYPE>((t & VT_BYREF) | mapped);
  };
  return family(a) == family(b);
}

// Fills *exception from the member's failure and the error information it left.
void FillException(HRESULT hr, EXCEPINFO* exception) {
  ComPtr<IErrorInfo> info;
  GetErrorInfo(0, &info);
  if (!exception) return;
  *exception = EXCEPINFO{};
  exception->scode = hr;
  if (!info) return;
  info->GetSource(&exception->bstrSource);
  info->GetDescription(&exception->bstrDescription);
  info->GetHelpFile(&exception->bstrHelpFile);
  info->GetHelpContext(&exception->dwHelpContext);
}

class TypeInfo : public Implements<ITypeInfo> {
 public:
  TypeInfo(std::shared_ptr<const typelib::Library> library, std::uint32_t index)
      : library_(std::move(library)), index_(index) {
    const auto interfaceCount = library_->interfaces.size();
    attr_ = TYPEATTR{};
    attr_.wMajorVerNum = library_->major;
    attr_.wMinorVerNum = library_->minor;
    if (index_ < interfaceCount) {
      interface_ = &library_->interfaces[index_];
      attr_.guid = interface_->iid;
      attr_.typekind = interface_->base == "IDispatch" ? TKIND_DISPATCH : TKIND_INTERFACE;
      attr_.cFuncs = static_cast<std::uint16_t>(interface_->members.size());
      attr_.cImplTypes = 1;
      attr_.wTypeFlags = interface_->flags;
      for (const auto& member : interface_->members) {
        std::vector<ELEMDESC> parameters;
        for (const auto& p : member.parameters) parameters.push_back({p.type, p.flags});
        elements_.push_back(std::move(parameters));
      }
      for (std::size_t i = 0; i < interface_->members.size(); ++i) {
        const auto& member = interface_->members[i];
        funcs_.push_back(FUNCDESC{member.id, member.kind,
                                  static_cast<std::int16_t>(member.parameters.size()), 0,
                                  elements_[i].data(), VT_ERROR});
      }
    } else {
      coclass_ = &library_->coclasses[index_ - interfaceCount];
      attr_.guid = coclass_->clsid;
      attr_.typekind = TKIND_COCLASS;
      attr_.cImplTypes = static_cast<std::uint16_t>(coclass_->interfaces.size());
      attr_.wTypeFlags = coclass_->flags;
    }
  }

  HRESULT GetTypeAttr(TYPEATTR** attr) override {
    if (!attr) return E_INVALIDARG;
    *attr = &attr_;
    return S_OK;
  }

  HRESULT GetFuncDesc(std::uint32_t index, FUNCDESC** desc) override {
    if (!desc) return E_INVALIDARG;
    *desc = nullptr;
    if (index >= funcs_.size()) return TYPE_E_ELEMENTNOTFOUND;
    *desc = &funcs_[index];
    return S_OK;
  }

  HRESULT GetNames(MEMBERID memid, BSTR* names, std::uint32_t maxNames,
                   std::uint32_t* count) override {
    if (!names || !count) return E_INVALIDARG;
    *count = 0;
    const typelib::Member* member = FindMember(memid);
    if (!member) return TYPE_E_ELEMENTNOTFOUND;
    std::vector<std::string_view> all{member->name};
    for (const auto& p : member->parameters) all.push_back(p.name);
    for (std::size_t i = 0; i < all.size() && i < maxNames; ++i) {
      if (FAILED(CopyText(all[i], &names[i]))) {
        for (std::uint32_t j = 0; j < i; ++j) SysFreeString(names[j]);
        return E_OUTOFMEMORY;
      }
      ++*count;
    }
    return S_OK;
  }

  HRESULT GetRefTypeOfImplType(std::uint32_t index, std::uint32_t* refType) override {
    if (!refType) return E_INVALIDARG;
    const std::string* name = ImplTypeName(index);
    if (!name) return TYPE_E_ELEMENTNOTFOUND;
    for (std::uint32_t i = 0; i < library_->interfaces.size(); ++i) {
      if (library_->interfaces[i].name == *name) {
        *refType = i;
        return S_OK;
      }
    }
    return TYPE_E_ELEMENTNOTFOUND;  // IDispatch and IUnknown live in the standard library
  }

  HRESULT GetImplTypeFlags(std::uint32_t index, std::int32_t* flags) override {
    if (!flags) return E_INVALIDARG;
    const std::string* name = ImplTypeName(index);
    if (!name) return TYPE_E_ELEMENTNOTFOUND;
    *flags = (coclass_ && *name == coclass_->defaultInterface) ? IMPLTYPEFLAG_FDEFAULT : 0;
    return S_OK;
  }

  HRESULT GetIDsOfNames(LPOLESTR* names, std::uint32_t count, MEMBERID* ids) override {
    if (!names || !ids) return E_INVALIDARG;
    if (count == 0) return S_OK;
    for (std::uint32_t i = 0; i < count; ++i) ids[i] = MEMBERID_NIL;
    if (!interface_ || !names[0]) return DISP_E_UNKNOWNNAME;
    const typelib::Member* found = nullptr;
    for (const auto& member : interface_->members) {
      if (SameName(names[0], member.name)) {
        found = &member;
        break;
      }
    }
    if (!found) return DISP_E_UNKNOWNNAME;
    ids[0] = found->id;
    HRESULT hr = S_OK;
    for (std::uint32_t i = 1; i < count; ++i) {
      // A parameter name may belong to any member of that name (a property's get or put).
      for (const auto& member : interface_->members) {
        if (member.id != found->id) continue;
        for (std::size_t p = 0; p < member.parameters.size(); ++p) {
          if (names[i] && SameName(names[i], member.parameters[p].name)) {
            ids[i] = static_cast<MEMBERID>(p);
          }
        }
      }
      if (ids[i] == MEMBERID_NIL) hr = DISP_E_UNKNOWNNAME;
    }
    return hr;
  }

  HRESULT Invoke(void* instance, MEMBERID memid, std::uint16_t flags, DISPPARAMS* params,
                 VARIANT* result, EXCEPINFO* exception, std::uint32_t* argError) override {
    try {
      return InvokeMember(instance, memid, flags, params, result, exception, argError);
    } catch (const std::bad_alloc&) {
      return E_OUTOFMEMORY;
    } catch (...) {
      return E_UNEXPECTED;
    }
  }

  HRESULT GetDocumentation(MEMBERID memid, BSTR* name, BSTR* docString, std::uint32_t* helpContext,
                           BSTR* helpFile) override {
    std::string_view typeName = interface_ ? interface_->name : coclass_->name;
    std::string_view help = interface_ ? interface_->help : coclass_->help;
    if (memid != MEMBERID_NIL) {
      const typelib::Member* member = FindMember(memid);
      if (!member) return TYPE_E_ELEMENTNOTFOUND;
      typeName = member->name;
      help = member->help;
    }
    if (helpContext) *helpContext = 0;
    if (helpFile) *helpFile = nullptr;
    if (FAILED(CopyText(typeName, name))) return E_OUTOFMEMORY;
    if (FAILED(CopyText(help, docString))) {
      if (name) SysFreeString(*name), *name = nullptr;
      return E_OUTOFMEMORY;
    }
    return S_OK;
  }

  HRESULT GetRefTypeInfo(std::uint32_t refType, ITypeInfo** info) override {
    if (!info) return E_INVALIDARG;
    *info = nullptr;
    if (refType >= library_->interfaces.size()) return TYPE_E_ELEMENTNOTFOUND;
    return CreateTypeInfo(library_, refType, info);
  }

  HRESULT GetContainingTypeLib(ITypeLib** lib, std::uint32_t* index) override {
    if (!lib) return E_INVALIDARG;
    if (index) *index = index_;
    return CreateTypeLib(library_, lib);
  }

  void ReleaseTypeAttr(TYPEATTR*) override {}
  void ReleaseFuncDesc(FUNCDESC*) override {}

 private:
  const typelib::Member* FindMember(MEMBERID memid) const {
    if (!interface_) return nullptr;
    for (const auto& member : interface_->members) {
      if (member.id == memid) return &member;
    }
    return nullptr;
  }

  const std::string* ImplTypeName(std::uint32_t index) const {
    if (interface_) return index == 0 ? &interface_->base : nullptr;
    return index < coclass_->interfaces.size() ? &coclass_->interfaces[index] : nullptr;
  }

  HRESULT InvokeMember(void* instance, MEMBERID memid, std::uint16_t flags, DISPPARAMS* params,
                       VARIANT* result, EXCEPINFO* exception, std::uint32_t* argError) {
    if (!instance || !params || (params->cArgs > 0 && !params->rgvarg)) return E_INVALIDARG;
    if (!interface_) return DISP_E_MEMBERNOTFOUND;
    const typelib::Member* member = nullptr;
    bool known = false;
    for (const auto& candidate : interface_->members) {
      if (candidate.id != memid) continue;
      known = true;
      if (KindMatches(candidate.kind, flags)) {
        member = &candidate;
        break;
      }
    }
    if (!known || !member) return DISP_E_MEMBERNOTFOUND;

    // Named arguments are not supported, except the value of a property put.
    const bool isPut = member->kind == INVOKE_PROPERTYPUT || member->kind == INVOKE_PROPERTYPUTREF;
    if (params->cNamedArgs > 0) {
      if (!params->rgdispidNamedArgs) return E_INVALIDARG;
      if (!isPut || params->cNamedArgs > 1 || params->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT) {
        return DISP_E_PARAMNOTFOUND;
      }
    }

    const auto& declared = member->parameters;
    const bool hasRetval = !declared.empty() && (declared.back().flags & PARAMFLAG_FRETVAL);
    const std::size_t expected = declared.size() - (hasRetval ? 1 : 0);
    if (params->cArgs != expected) return DISP_E_BADPARAMCOUNT;

    auto invoker = FindInvoker(interface_->iid, member->id, member->kind);
    if (!invoker || invoker->parameterCount != declared.size()) return E_UNEXPECTED;
    for (std::size_t i = 0; i < declared.size(); ++i) {
      if (!SameFamily(invoker->parameterTypes[i], declared[i].type)) return E_UNEXPECTED;
    }

    // Converted copies of in arguments, slots for out arguments given as VARIANT references,
    // and the return value.
    std::vector<Variant> holders(declared.size());
    std::vector<VARIANT*> args(declared.size());
    std::vector<std::pair<std::size_t, VARIANT*>> copyBack;  // holder index -> caller's VARIANT
    std::vector<VARIANT> references(declared.size());
    for (std::size_t i = 0; i < expected; ++i) {
      const std::uint32_t position = params->cArgs - 1 - static_cast<std::uint32_t>(i);
      VARIANT* given = &params->rgvarg[position];
      const VARTYPE type = declared[i].type;
      auto mismatch = [&] {
        if (argError) *argError = position;
        return DISP_E_TYPEMISMATCH;
      };
      if (type & VT_BYREF) {
        if (given->vt == type) {
          args[i] = given;
        } else if (given->vt == (VT_BYREF | VT_VARIANT) && given->pvarVal &&
                   !(declared[i].flags & PARAMFLAG_FIN)) {
          // An out argument given as a reference to a variant: fill a slot of the declared
          // type and store it there after the call.
          VARIANT* slot = holders[i].Out();
          slot->vt = static_cast<VARTYPE>(type & ~VT_BYREF);
          VARIANT& reference = references[i];
          VariantInit(&reference);
          reference.vt = type;
          reference.byref = &slot->lVal;
          args[i] = &reference;
          copyBack.emplace_back(i, given->pvarVal);
        } else {
          return mismatch();
        }
        continue;
      }
      const VARIANT* source = given;
      VARIANT dereferenced;
      if ((given->vt & VT_BYREF) && given->byref) {
        // A value passed by reference counts as the value itself for an in parameter.
        VariantInit(&dereferenced);
        const VARTYPE base = static_cast<VARTYPE>(given->vt & ~VT_BYREF);
        if (base == VT_VARIANT) {
          source = given->pvarVal;
        } else {
          dereferenced.vt = base;
          switch (base) {
            case VT_BSTR:
              dereferenced.bstrVal = *given->pbstrVal;
              break;
            case VT_I4:
              dereferenced.lVal = *given->plVal;
              break;
            case VT_I2:
            case VT_BOOL:
              dereferenced.iVal = *given->piVal;
              break;
            case VT_DATE:
              dereferenced.date = *given->pdate;
              break;
            default:
              return mismatch();
          }
          source = &dereferenced;
        }
      }
      if (type == VT_VARIANT) {
        if (FAILED(VariantCopy(holders[i].Out(), source))) return E_OUTOFMEMORY;
      } else if (FAILED(VariantChangeType(holders[i].Out(), source, 0, type))) {
        return mismatch();
      }
      args[i] = holders[i].GetAddress();
    }
    Variant returned;
    VARIANT returnReference;
    if (hasRetval) {
      VARIANT* slot = returned.Out();
      slot->vt = static_cast<VARTYPE>(declared.back().type & ~VT_BYREF);
      VariantInit(&returnReference);
      returnReference.vt = declared.back().type;
      returnReference.byref = &slot->lVal;
      args.back() = &returnReference;
    }

    // Error information left from before belongs to someone else.
    SetErrorInfo(0, nullptr);
    const HRESULT hr = invoker->call(instance, args.data());
    if (FAILED(hr)) {
      FillException(hr, exception);
      return DISP_E_EXCEPTION;
    }
    for (auto& [index, target] : copyBack) {
      VariantClear(target);
      holders[index].Detach(target);
    }
    if (hasRetval && result) {
      VariantClear(result);
      returned.Detach(result);
    }
    return hr;
  }

  std::shared_ptr<const typelib::Library> library_;
  std::uint32_t index_;
  const typelib::Interface* interface_ = nullptr;
  const typelib::CoClass* coclass_ = nullptr;
  TYPEATTR attr_;
  std::vector<std::vector<ELEMDESC>> elements_;
  std::vector<FUNCDESC> funcs_;
};

}  // namespace

HRESULT CreateTypeInfo(std::shared_ptr<const typelib::Library> library, std::uint32_t index,
                       ITypeInfo** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (!library || index >= library->interfaces.size() + library->coclasses.size()) {
    return TYPE_E_ELEMENTNOTFOUND;
  }
  TypeInfo* info = nullptr;
  HRESULT hr = Object<TypeInfo>::Create(&info, std::move(library), index);
  *out = info;
  return hr;
}

}  // namespace com
