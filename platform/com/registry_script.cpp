#include "platform/com/registry_script.h"

#include <cctype>
#include <new>

namespace com {

namespace {

struct Token {
  enum class Kind { End, Word, Quoted, Open, Close, Equals };
  Kind kind = Kind::End;
  std::string text;
  int line = 1;
};

class ScriptError {
 public:
  ScriptError(int line, std::string why) : line(line), why(std::move(why)) {}
  int line;
  std::string why;
};

bool SameWord(std::string_view a, std::string_view b) {
  return !CaseInsensitiveLess{}(a, b) && !CaseInsensitiveLess{}(b, a);
}

class Lexer {
 public:
  Lexer(std::string_view text, const ScriptReplacements& replacements)
      : text_(text), replacements_(replacements) {}

  Token Next() {
    SkipBlanks();
    Token token;
    token.line = line_;
    if (pos_ >= text_.size()) return token;
    const char c = text_[pos_];
    if (c == '\'') {
      ++pos_;
      token.kind = Token::Kind::Quoted;
      token.text = ReadQuoted(token.line);
      return token;
    }
    token.kind = Token::Kind::Word;
    token.text = ReadWord();
    if (token.text == "{") token.kind = Token::Kind::Open;
    if (token.text == "}") token.kind = Token::Kind::Close;
    if (token.text == "=") token.kind = Token::Kind::Equals;
    return token;
  }

 private:
  void SkipBlanks() {
    while (pos_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[pos_]))) {
      if (text_[pos_] == '\n') ++line_;
      ++pos_;
    }
  }

  // At a '%': appends the replacement of %NAME% (or one '%' for %%).
  void AppendReplacement(std::string& out) {
    const std::size_t close = text_.find('%', pos_ + 1);
    if (close == std::string_view::npos) throw ScriptError(line_, "unterminated %NAME%");
    const std::string name(text_.substr(pos_ + 1, close - pos_ - 1));
    pos_ = close + 1;
    if (name.empty()) {
      out += '%';
      return;
    }
    auto it = replacements_.find(name);
    if (it == replacements_.end()) throw ScriptError(line_, "no value for %" + name + "%");
    out += it->second;
  }

  std::string ReadWord() {
    std::string word;
    while (pos_ < text_.size() && !std::isspace(static_cast<unsigned char>(text_[pos_]))) {
      if (text_[pos_] == '%') {
        AppendReplacement(word);
      } else {
        word += text_[pos_++];
      }
    }
    return word;
  }

  std::string ReadQuoted(int startLine) {
    std::string text;
    while (pos_ < text_.size()) {
      const char c = text_[pos_];
      if (c == '\'') {
        if (pos_ + 1 < text_.size() && text_[pos_ + 1] == '\'') {
          text += '\'';
          pos_ += 2;
          continue;
        }
        ++pos_;
        return text;
      }
      if (c == '%') {
        AppendReplacement(text);
        continue;
      }
      if (c == '\n') ++line_;
      text += c;
      ++pos_;
    }
    throw ScriptError(startLine, "unterminated quoted text");
  }

  std::string_view text_;
  const ScriptReplacements& replacements_;
  std::size_t pos_ = 0;
  int line_ = 1;
};

class Parser {
 public:
  Parser(std::string_view text, const ScriptReplacements& replacements)
      : lexer_(text, replacements) {
    Advance();
  }

  std::vector<RegistryScript::Key> Script() {
    std::vector<RegistryScript::Key> roots;
    while (current_.kind != Token::Kind::End) {
      if (current_.kind != Token::Kind::Word) Fail("expected a root key");
      RegistryScript::Key root;
      root.flag = RegistryScript::Flag::NoRemove;
      root.name = RootName(current_.text);
      Advance();
      if (current_.kind != Token::Kind::Open) Fail("expected '{' after the root key");
      Advance();
      Body(root);
      roots.push_back(std::move(root));
    }
    return roots;
  }

 private:
  [[noreturn]] void Fail(const std::string& why) { throw ScriptError(current_.line, why); }

  void Advance() { current_ = lexer_.Next(); }

  std::string RootName(const std::string& word) {
    static const std::pair<std::string_view, std::string_view> kRoots[] = {
        {"HKCR", "HKEY_CLASSES_ROOT"},  {"HKEY_CLASSES_ROOT", "HKEY_CLASSES_ROOT"},
        {"HKCU", "HKEY_CURRENT_USER"},  {"HKEY_CURRENT_USER", "HKEY_CURRENT_USER"},
        {"HKLM", "HKEY_LOCAL_MACHINE"}, {"HKEY_LOCAL_MACHINE", "HKEY_LOCAL_MACHINE"},
        {"HKU", "HKEY_USERS"},          {"HKEY_USERS", "HKEY_USERS"},
    };
    for (const auto& [shortName, fullName] : kRoots) {
      if (SameWord(word, shortName)) return std::string(fullName);
    }
    Fail("unknown root key '" + word + "'");
  }

  std::string Name() {
    if (current_.kind != Token::Kind::Word && current_.kind != Token::Kind::Quoted) {
      Fail("expected a name");
    }
    std::string name = current_.text;
    if (name.empty() || name.find('\\') != std::string::npos) Fail("bad key name '" + name + "'");
    Advance();
    return name;
  }

  RegistryValue Value() {
    if (current_.kind != Token::Kind::Word) Fail("expected a value type");
    const int line = current_.line;
    const std::string type = current_.text;
    Advance();
    if (current_.kind != Token::Kind::Quoted && current_.kind != Token::Kind::Word) {
      Fail("expected a value");
    }
    std::string text = current_.text;
    Advance();
    if (SameWord(type, "s")) return RegistryValue::String(std::move(text));
    if (SameWord(type, "d")) return RegistryValue::Number(Number(text, line));
    throw ScriptError(line, "unknown value type '" + type + "'");
  }

  std::uint32_t Number(const std::string& text, int line) {
    auto fail = [&](const std::string& why) { throw ScriptError(line, why + " '" + text + "'"); };
    int base = 10;
    std::string_view digits = text;
    if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
      base = 16;
      digits.remove_prefix(2);
    }
    if (digits.empty()) fail("bad number");
    std::uint64_t number = 0;
    for (char c : digits) {
      int digit = -1;
      if (c >= '0' && c <= '9') digit = c - '0';
      if (base == 16 && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
      if (base == 16 && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
      if (digit < 0) fail("bad number");
      number = number * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(digit);
      if (number > 0xFFFFFFFFu) fail("number out of range");
    }
    return static_cast<std::uint32_t>(number);
  }

  // Reads entries up to and including the closing brace.
  void Body(RegistryScript::Key& key) {
    while (current_.kind != Token::Kind::Close) {
      if (current_.kind == Token::Kind::End) Fail("missing '}'");
      if (current_.kind == Token::Kind::Word && SameWord(current_.text, "val")) {
        Advance();
        RegistryScript::NamedValue value;
        value.name = Name();
        if (current_.kind != Token::Kind::Equals) Fail("expected '=' after a value name");
        Advance();
        value.value = Value();
        key.values.push_back(std::move(value));
        continue;
      }
      key.subkeys.push_back(Subkey());
    }
    Advance();
  }

  RegistryScript::Key Subkey() {
    RegistryScript::Key key;
    if (current_.kind == Token::Kind::Word) {
      if (SameWord(current_.text, "ForceRemove")) key.flag = RegistryScript::Flag::ForceRemove;
      if (SameWord(current_.text, "NoRemove")) key.flag = RegistryScript::Flag::NoRemove;
      if (SameWord(current_.text, "Delete")) key.flag = RegistryScript::Flag::Delete;
      if (key.flag != RegistryScript::Flag::None) Advance();
    }
    key.name = Name();
    if (current_.kind == Token::Kind::Equals) {
      Advance();
      key.value = Value();
    }
    if (current_.kind == Token::Kind::Open) {
      Advance();
      Body(key);
    }
    return key;
  }

  Lexer lexer_;
  Token current_;
};

void RegisterKey(RegistryKey& parent, const RegistryScript::Key& key) {
  if (key.flag == RegistryScript::Flag::Delete) {
    parent.Remove(key.name);
    return;
  }
  if (key.flag == RegistryScript::Flag::ForceRemove) parent.Remove(key.name);
  RegistryKey& made = parent.Create(key.name);
  if (key.value) made.SetDefault(*key.value);
  for (const auto& value : key.values) made.SetValue(value.name, value.value);
  for (const auto& subkey : key.subkeys) RegisterKey(made, subkey);
}

void UnregisterKey(RegistryKey& parent, const RegistryScript::Key& key) {
  if (key.flag == RegistryScript::Flag::Delete) return;
  RegistryKey* found = parent.Find(key.name);
  if (!found) return;
  if (key.flag == RegistryScript::Flag::ForceRemove) {
    parent.Remove(key.name);
    return;
  }
  for (const auto& subkey : key.subkeys) UnregisterKey(*found, subkey);
  for (const auto& value : key.values) found->RemoveValue(value.name);
  // A plain key that still has subkeys is shared with someone else's entries: keep it.
  if (key.flag == RegistryScript::Flag::None && !found->HasSubkeys()) parent.Remove(key.name);
}

}  // namespace

std::optional<RegistryScript> RegistryScript::Parse(std::string_view text,
                                                    const ScriptReplacements& replacements,
                                                    std::string* error) {
  try {
    RegistryScript script;
    script.roots_ = Parser(text, replacements).Script();
    return script;
  } catch (const ScriptError& e) {
    if (error) *error = "line " + std::to_string(e.line) + ": " + e.why;
    return std::nullopt;
  }
}

void RegistryScript::Register(RegistryKey& root) const {
  for (const auto& top : roots_) {
    RegistryKey& made = root.Create(top.name);
    for (const auto& value : top.values) made.SetValue(value.name, value.value);
    for (const auto& subkey : top.subkeys) RegisterKey(made, subkey);
  }
}

void RegistryScript::Unregister(RegistryKey& root) const {
  for (const auto& top : roots_) {
    RegistryKey* found = root.Find(top.name);
    if (!found) continue;
    for (const auto& subkey : top.subkeys) UnregisterKey(*found, subkey);
    for (const auto& value : top.values) found->RemoveValue(value.name);
  }
}

HRESULT RunRegistryScript(std::string_view text, const ScriptReplacements& replacements,
                          bool doRegister, std::string* error) {
  std::optional<RegistryScript> script;
  try {
    script = RegistryScript::Parse(text, replacements, error);
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
  if (!script) return E_INVALIDARG;
  return UpdateRegistry([&](RegistryKey& root) {
    if (doRegister) {
      script->Register(root);
    } else {
      script->Unregister(root);
    }
    return S_OK;
  });
}

}  // namespace com
