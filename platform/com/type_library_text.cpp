#include "platform/com/type_library_text.h"

#include <algorithm>
#include <cctype>
#include <new>
#include <set>
#include <stdexcept>
#include <utility>

namespace com::typelib {

namespace {

struct TextError {
  int line;
  std::string why;
};

struct Attribute {
  std::string name;
  std::optional<std::string> argument;
};
using Attributes = std::vector<Attribute>;

const Attribute* FindAttribute(const Attributes& attributes, std::string_view name) {
  for (const auto& a : attributes) {
    if (a.name == name) return &a;
  }
  return nullptr;
}

class Parser {
 public:
  explicit Parser(std::string_view text) : text_(text) {}

  Library Run() {
    Attributes attributes = OptionalAttributes();
    ExpectWord("library");
    Library library;
    library.name = Identifier();
    library.libid = Uuid(attributes);
    if (const Attribute* version = FindAttribute(attributes, "version")) {
      ParseVersion(version->argument.value_or(""), &library.major, &library.minor);
    }
    library.help = Help(attributes);
    Expect('{');
    while (!Accept('}')) {
      Attributes itemAttributes = OptionalAttributes();
      const std::string word = Identifier();
      if (word == "importlib") {
        Expect('(');
        library.imports.push_back(String());
        Expect(')');
        Expect(';');
      } else if (word == "interface") {
        library.interfaces.push_back(InterfaceBody(itemAttributes));
      } else if (word == "coclass") {
        library.coclasses.push_back(CoClassBody(itemAttributes));
      } else {
        Fail("unexpected '" + word + "'");
      }
    }
    Accept(';');
    SkipBlanks();
    if (pos_ < text_.size()) Fail("text after the library");
    for (const auto& coclass : library.coclasses) {
      for (const auto& name : coclass.interfaces) {
        if (!library.FindInterface(name) && name != "IDispatch" && name != "IUnknown") {
          Fail("coclass " + coclass.name + " names an unknown interface " + name);
        }
      }
    }
    return library;
  }

 private:
  [[noreturn]] void Fail(std::string why) { throw TextError{line_, std::move(why)}; }

  void SkipBlanks() {
    while (pos_ < text_.size()) {
      const char c = text_[pos_];
      if (c == '\n') ++line_;
      if (std::isspace(static_cast<unsigned char>(c))) {
        ++pos_;
      } else if (text_.substr(pos_, 2) == "//") {
        while (pos_ < text_.size() && text_[pos_] != '\n') ++pos_;
      } else if (text_.substr(pos_, 2) == "/*") {
        const std::size_t end = text_.find("*/", pos_ + 2);
        if (end == std::string_view::npos) Fail("unterminated comment");
        for (std::size_t i = pos_; i < end; ++i) line_ += text_[i] == '\n' ? 1 : 0;
        pos_ = end + 2;
      } else {
        break;
      }
    }
  }

  bool Accept(char c) {
    SkipBlanks();
    if (pos_ < text_.size() && text_[pos_] == c) {
      ++pos_;
      return true;
    }
    return false;
  }
  void Expect(char c) {
    if (!Accept(c)) Fail(std::string("expected '") + c + "'");
  }
  bool Peek(char c) {
    SkipBlanks();
    return pos_ < text_.size() && text_[pos_] == c;
  }

  std::string Identifier() {
    SkipBlanks();
    const std::size_t start = pos_;
    while (pos_ < text_.size() &&
           (std::isalnum(static_cast<unsigned char>(text_[pos_])) || text_[pos_] == '_')) {
      ++pos_;
    }
    if (start == pos_) Fail("expected a name");
    return std::string(text_.substr(start, pos_ - start));
  }
  void ExpectWord(std::string_view word) {
    if (Identifier() != word) Fail("expected '" + std::string(word) + "'");
  }

  std::string String() {
    SkipBlanks();
    if (pos_ >= text_.size() || text_[pos_] != '"') Fail("expected a quoted text");
    ++pos_;
    std::string text;
    while (pos_ < text_.size() && text_[pos_] != '"') {
      if (text_[pos_] == '\n') Fail("line break in a quoted text");
      if (text_[pos_] == '\\' && pos_ + 1 < text_.size()) ++pos_;
      text += text_[pos_++];
    }
    if (pos_ >= text_.size()) Fail("unterminated quoted text");
    ++pos_;
    return text;
  }

  // The argument of an attribute: a quoted text, or the raw text up to ')'.
  std::string Argument() {
    SkipBlanks();
    std::string argument;
    if (Peek('"')) {
      argument = String();
    } else {
      const std::size_t end = text_.find(')', pos_);
      if (end == std::string_view::npos) Fail("expected ')'");
      argument = std::string(text_.substr(pos_, end - pos_));
      while (!argument.empty() && std::isspace(static_cast<unsigned char>(argument.back()))) {
        argument.pop_back();
      }
      pos_ = end;
    }
    Expect(')');
    return argument;
  }

  Attributes OptionalAttributes() {
    Attributes attributes;
    if (!Accept('[')) return attributes;
    do {
      Attribute attribute;
      attribute.name = Identifier();
      if (Accept('(')) attribute.argument = Argument();
      attributes.push_back(std::move(attribute));
    } while (Accept(','));
    Expect(']');
    return attributes;
  }

  GUID Uuid(const Attributes& attributes) {
    const Attribute* uuid = FindAttribute(attributes, "uuid");
    if (!uuid || !uuid->argument) Fail("missing uuid");
    auto guid = ParseGuid(*uuid->argument);
    if (!guid) Fail("bad uuid '" + *uuid->argument + "'");
    return *guid;
  }

  std::string Help(const Attributes& attributes) {
    const Attribute* help = FindAttribute(attributes, "helpstring");
    return help ? help->argument.value_or("") : std::string();
  }

  void ParseVersion(const std::string& text, std::uint16_t* major, std::uint16_t* minor) {
    const std::size_t dot = text.find('.');
    auto number = [&](std::string_view digits) -> std::uint16_t {
      if (digits.empty() || digits.size() > 5) Fail("bad version '" + text + "'");
      unsigned value = 0;
      for (char c : digits) {
        if (c < '0' || c > '9') Fail("bad version '" + text + "'");
        value = value * 10 + static_cast<unsigned>(c - '0');
      }
      if (value > 0xFFFF) Fail("bad version '" + text + "'");
      return static_cast<std::uint16_t>(value);
    };
    const std::string_view view(text);
    *major = number(view.substr(0, dot));
    *minor = dot == std::string::npos ? 0 : number(view.substr(dot + 1));
  }

  VARTYPE Type() {
    static const std::pair<std::string_view, VARTYPE> kTypes[] = {
        {"BSTR", VT_BSTR}, {"long", VT_I4},           {"short", VT_I2},
        {"DATE", VT_DATE}, {"VARIANT_BOOL", VT_BOOL}, {"VARIANT", VT_VARIANT},
    };
    const std::string name = Identifier();
    for (const auto& [typeName, type] : kTypes) {
      if (name == typeName) return Accept('*') ? static_cast<VARTYPE>(type | VT_BYREF) : type;
    }
    Fail("unknown type '" + name + "'");
  }

  Member Method() {
    const Attributes attributes = OptionalAttributes();
    Member member;
    const Attribute* id = FindAttribute(attributes, "id");
    if (!id || !id->argument) Fail("member without id");
    try {
      std::size_t used = 0;
      member.id = std::stoi(*id->argument, &used, 0);
      if (used != id->argument->size()) Fail("bad id '" + *id->argument + "'");
    } catch (const std::logic_error&) {
      Fail("bad id '" + *id->argument + "'");
    }
    if (FindAttribute(attributes, "propget")) member.kind = INVOKE_PROPERTYGET;
    if (FindAttribute(attributes, "propput")) member.kind = INVOKE_PROPERTYPUT;
    if (FindAttribute(attributes, "propputref")) member.kind = INVOKE_PROPERTYPUTREF;
    member.help = Help(attributes);
    ExpectWord("HRESULT");
    member.name = Identifier();
    Expect('(');
    if (!Accept(')')) {
      do {
        const Attributes parameterAttributes = OptionalAttributes();
        Parameter parameter;
        if (FindAttribute(parameterAttributes, "in")) parameter.flags |= PARAMFLAG_FIN;
        if (FindAttribute(parameterAttributes, "out")) parameter.flags |= PARAMFLAG_FOUT;
        if (FindAttribute(parameterAttributes, "retval")) parameter.flags |= PARAMFLAG_FRETVAL;
        if (parameter.flags == PARAMFLAG_NONE) parameter.flags = PARAMFLAG_FIN;
        parameter.type = Type();
        if ((parameter.flags & PARAMFLAG_FOUT) && !(parameter.type & VT_BYREF)) {
          Fail("out parameter " + member.name + " is not a pointer");
        }
        parameter.name = Identifier();
        member.parameters.push_back(std::move(parameter));
      } while (Accept(','));
      Expect(')');
    }
    Expect(';');
    for (std::size_t i = 0; i < member.parameters.size(); ++i) {
      if ((member.parameters[i].flags & PARAMFLAG_FRETVAL) && i + 1 != member.parameters.size()) {
        Fail("retval parameter of " + member.name + " is not the last");
      }
    }
    return member;
  }

  Interface InterfaceBody(const Attributes& attributes) {
    Interface result;
    result.name = Identifier();
    result.iid = Uuid(attributes);
    result.help = Help(attributes);
    if (FindAttribute(attributes, "dual")) result.flags |= TYPEFLAG_FDUAL | TYPEFLAG_FOLEAUTOMATION;
    if (FindAttribute(attributes, "oleautomation")) result.flags |= TYPEFLAG_FOLEAUTOMATION;
    if (FindAttribute(attributes, "nonextensible")) result.flags |= TYPEFLAG_FNONEXTENSIBLE;
    Expect(':');
    result.base = Identifier();
    if (result.base != "IDispatch" && result.base != "IUnknown") {
      Fail("interface " + result.name + " derives from neither IDispatch nor IUnknown");
    }
    Expect('{');
    std::set<std::pair<DISPID, INVOKEKIND>> seen;
    while (!Accept('}')) {
      Member member = Method();
      if (!seen.emplace(member.id, member.kind).second) {
        Fail("duplicate id " + std::to_string(member.id) + " in " + result.name);
      }
      result.members.push_back(std::move(member));
    }
    Expect(';');
    return result;
  }

  CoClass CoClassBody(const Attributes& attributes) {
    CoClass result;
    result.name = Identifier();
    result.clsid = Uuid(attributes);
    result.help = Help(attributes);
    if (FindAttribute(attributes, "noncreatable")) result.flags &= ~TYPEFLAG_FCANCREATE;
    Expect('{');
    while (!Accept('}')) {
      const Attributes interfaceAttributes = OptionalAttributes();
      ExpectWord("interface");
      std::string name = Identifier();
      Expect(';');
      if (FindAttribute(interfaceAttributes, "default") || result.defaultInterface.empty()) {
        result.defaultInterface = name;
      }
      result.interfaces.push_back(std::move(name));
    }
    Expect(';');
    return result;
  }

  std::string_view text_;
  std::size_t pos_ = 0;
  int line_ = 1;
};

}  // namespace

const Interface* Library::FindInterface(std::string_view name) const {
  for (const auto& i : interfaces) {
    if (i.name == name) return &i;
  }
  return nullptr;
}

std::optional<Library> ParseTypeLibraryText(std::string_view text, std::string* error) {
  try {
    return Parser(text).Run();
  } catch (const TextError& e) {
    if (error) *error = "line " + std::to_string(e.line) + ": " + e.why;
    return std::nullopt;
  }
}

}  // namespace com::typelib
