#include "runtime/form_text.h"

#include <charconv>
#include <map>
#include <optional>

#include "runtime/form_resource.h"
#include "runtime/format.h"

namespace rt {

namespace {

struct Position {
  int line = 1;
  int column = 1;
};

enum class TokenKind { tkEnd, tkIdent, tkInteger, tkFloat, tkString, tkPunct };

struct Token {
  TokenKind kind = TokenKind::tkEnd;
  Position at;
  std::string text;  // an identifier, or the punctuation character
  int64_t integer = 0;
  double real = 0;
  WideString string;
};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsHexDigit(char c) { return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }
bool IsIdentStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool IsIdentPart(char c) { return IsIdentStart(c) || IsDigit(c); }
int HexValue(char c) {
  return IsDigit(c) ? c - '0' : (c >= 'a' && c <= 'f') ? c - 'a' + 10 : c - 'A' + 10;
}

// Turns characters into tokens and keeps the line and column of each.
class Lexer {
 public:
  Lexer(std::string_view text, std::string_view sourceName) : text_(text), source_(sourceName) {}

  [[noreturn]] void Fail(Position at, const WideString& what) const {
    throw EFormTextError(Utf8ToWide(source_) + Format(u":%d:%d: ", {at.line, at.column}) + what,
                         at.line, at.column);
  }

  Token Next() {
    SkipBlanks();
    Token token;
    token.at = here_;
    if (AtEnd()) return token;
    const char c = Peek();
    if (IsIdentStart(c)) {
      token.kind = TokenKind::tkIdent;
      while (!AtEnd() && IsIdentPart(Peek())) token.text.push_back(Take());
      if (token.text.size() > kFormMaxNameLength)
        Fail(token.at, Format(u"identifier longer than %d characters", {kFormMaxNameLength}));
    } else if (IsDigit(c) || (c == '-' && IsDigit(Peek(1)))) {
      LexNumber(token);
    } else if (c == '\'') {
      LexString(token);
    } else if (std::string_view("=:{}[](),.+").find(c) != std::string_view::npos) {
      token.kind = TokenKind::tkPunct;
      token.text.assign(1, Take());
    } else {
      Fail(here_, u"unexpected character " + Describe(DecodeAt(here_)));
    }
    return token;
  }

  // The body of "{hex ...}" up to and including the closing brace: hex
  // digits, two per byte, with blanks and comments anywhere between them.
  std::vector<uint8_t> HexBody() {
    std::vector<uint8_t> bytes;
    std::optional<Position> half;
    int high = 0;
    for (;;) {
      SkipBlanks();
      if (AtEnd()) Fail(here_, u"hex data has no closing '}'");
      const char c = Peek();
      if (c == '}') {
        if (half) Fail(*half, u"odd number of hex digits: the last byte lacks its second digit");
        Take();
        return bytes;
      }
      if (!IsHexDigit(c)) Fail(here_, u"expected a hex digit or '}', found " + Describe(DecodeAt(here_)));
      if (half) {
        bytes.push_back(static_cast<uint8_t>(high << 4 | HexValue(c)));
        half.reset();
      } else {
        half = here_;
        high = HexValue(c);
      }
      Take();
    }
  }

 private:
  bool AtEnd() const { return pos_ >= text_.size(); }
  char Peek(size_t ahead = 0) const { return pos_ + ahead < text_.size() ? text_[pos_ + ahead] : '\0'; }

  char Take() {
    const char c = text_[pos_++];
    if (c == '\n') {
      ++here_.line;
      here_.column = 1;
    } else if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) {
      ++here_.column;
    }
    return c;
  }

  void SkipBlanks() {
    while (!AtEnd()) {
      const char c = Peek();
      if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
        Take();
      } else if (c == '/' && Peek(1) == '/') {
        while (!AtEnd() && Peek() != '\n') Take();
      } else {
        break;
      }
    }
  }

  // The code point at the current position, strictly decoded; malformed
  // UTF-8 is an error at its first byte.
  char32_t DecodeAt(Position at) {
    if (AtEnd()) return 0;
    const TUtf8Sequence sequence = DecodeUtf8Sequence(text_.substr(pos_));
    if (!sequence.valid) Fail(at, u"malformed UTF-8");
    return sequence.codePoint;
  }

  static WideString Describe(char32_t cp) {
    if (cp < 0x20 || cp == 0x7F) return Format(u"U+%.4X", {static_cast<unsigned>(cp)});
    WideString out = u"'";
    AppendUtf16(out, cp);
    return out + u"'";
  }

  void LexNumber(Token& token) {
    const size_t start = pos_;
    const bool negative = Peek() == '-';
    if (negative) Take();
    if (Peek() == '0' && (Peek(1) == 'x' || Peek(1) == 'X')) {
      Take(), Take();
      if (!IsHexDigit(Peek())) Fail(token.at, u"hex number without digits");
      uint64_t value = 0;
      while (IsHexDigit(Peek())) {
        if (value >> 60) Fail(token.at, u"number out of range");
        value = value << 4 | static_cast<uint64_t>(HexValue(Take()));
      }
      FinishInteger(token, value, negative);
    } else {
      bool real = false;
      while (IsDigit(Peek())) Take();
      if (Peek() == '.' && IsDigit(Peek(1))) {
        real = true;
        Take();
        while (IsDigit(Peek())) Take();
      }
      if ((Peek() == 'e' || Peek() == 'E') &&
          (IsDigit(Peek(1)) || ((Peek(1) == '+' || Peek(1) == '-') && IsDigit(Peek(2))))) {
        real = true;
        Take(), Take();
        while (IsDigit(Peek())) Take();
      }
      const std::string_view digits = text_.substr(start, pos_ - start);
      if (real) {
        token.kind = TokenKind::tkFloat;
        const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), token.real);
        if (result.ec != std::errc()) Fail(token.at, u"number out of range");
      } else {
        uint64_t value = 0;
        const std::string_view magnitude = digits.substr(negative ? 1 : 0);
        const auto result =
            std::from_chars(magnitude.data(), magnitude.data() + magnitude.size(), value);
        if (result.ec != std::errc()) Fail(token.at, u"number out of range");
        FinishInteger(token, value, negative);
      }
    }
    if (IsIdentPart(Peek()) || Peek() == '.') Fail(token.at, u"malformed number");
  }

  void FinishInteger(Token& token, uint64_t magnitude, bool negative) {
    constexpr uint64_t kMaxPositive = INT64_MAX;
    if (magnitude > kMaxPositive + (negative ? 1 : 0)) Fail(token.at, u"number out of range");
    token.kind = TokenKind::tkInteger;
    token.integer = negative ? static_cast<int64_t>(0 - magnitude) : static_cast<int64_t>(magnitude);
  }

  void LexString(Token& token) {
    token.kind = TokenKind::tkString;
    Take();
    for (;;) {
      if (AtEnd() || Peek() == '\n') Fail(token.at, u"string has no closing quote");
      const Position at = here_;
      const char c = Peek();
      if (c == '\'') {
        Take();
        return;
      }
      if (c == '\\') {
        Take();
        LexEscape(token.string, at);
        continue;
      }
      const char32_t cp = DecodeAt(at);
      if (cp < 0x20 && cp != '\t') Fail(at, Describe(cp) + u" in a string: write it as an escape");
      if (cp == 0x7F) Fail(at, Describe(cp) + u" in a string: write it as an escape");
      const size_t bytes = cp < 0x80 ? 1 : cp < 0x800 ? 2 : cp < 0x10000 ? 3 : 4;
      for (size_t i = 0; i < bytes; ++i) Take();
      AppendUtf16(token.string, cp);
    }
  }

  void LexEscape(WideString& out, Position at) {
    const char c = AtEnd() ? '\0' : Take();
    switch (c) {
      case 'r': out.push_back(u'\r'); return;
      case 'n': out.push_back(u'\n'); return;
      case 't': out.push_back(u'\t'); return;
      case '\\': out.push_back(u'\\'); return;
      case '\'': out.push_back(u'\''); return;
      case 'u': {
        if (Peek() != '{') Fail(at, u"\\u takes a code point in braces: \\u{263A}");
        Take();
        char32_t cp = 0;
        int digits = 0;
        for (; IsHexDigit(Peek()) && digits < 6; ++digits)
          cp = cp << 4 | static_cast<char32_t>(HexValue(Take()));
        if (digits == 0 || Peek() != '}') Fail(at, u"\\u takes one to six hex digits in braces: \\u{263A}");
        Take();
        if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) Fail(at, u"\\u names no character");
        AppendUtf16(out, cp);
        return;
      }
      default:
        Fail(at, u"unknown escape; the escapes are \\r \\n \\t \\\\ \\' and \\u{...}");
    }
  }

  std::string_view text_;
  std::string_view source_;
  size_t pos_ = 0;
  Position here_;
};

class Parser {
 public:
  Parser(std::string_view text, std::string_view sourceName, const FormFileLoader& loader)
      : lexer_(text, sourceName), loader_(loader) {}

  TFormObject ParseDescription() {
    const Token name = Expect(TokenKind::tkIdent, "an object name");
    TFormObject root = ParseObject(name, 1);
    const Token end = Next();
    if (end.kind != TokenKind::tkEnd) lexer_.Fail(end.at, u"text after the end of the root object");
    return root;
  }

 private:
  Token Next() {
    if (peeked_) {
      Token token = std::move(*peeked_);
      peeked_.reset();
      return token;
    }
    return lexer_.Next();
  }

  const Token& Peek() {
    if (!peeked_) peeked_ = lexer_.Next();
    return *peeked_;
  }

  static bool Is(const Token& token, char punct) {
    return token.kind == TokenKind::tkPunct && token.text[0] == punct;
  }

  static WideString Describe(const Token& token) {
    switch (token.kind) {
      case TokenKind::tkEnd: return u"the end of the text";
      case TokenKind::tkIdent: return u"'" + Utf8ToWide(token.text) + u"'";
      case TokenKind::tkInteger:
      case TokenKind::tkFloat: return u"a number";
      case TokenKind::tkString: return u"a string";
      case TokenKind::tkPunct: return u"'" + Utf8ToWide(token.text) + u"'";
    }
    return u"?";
  }

  Token Expect(TokenKind kind, std::string_view what) {
    Token token = Next();
    if (token.kind != kind)
      lexer_.Fail(token.at, u"expected " + Utf8ToWide(what) + u", found " + Describe(token));
    return token;
  }

  void ExpectPunct(char punct, std::string_view what) {
    const Token token = Next();
    if (!Is(token, punct))
      lexer_.Fail(token.at, u"expected " + Utf8ToWide(what) + u", found " + Describe(token));
  }

  void Enter(Position at, int depth) {
    if (depth > kFormMaxDepth)
      lexer_.Fail(at, Format(u"nested more than %d levels deep", {kFormMaxDepth}));
  }

  // name ':' class '{' member* '}', the name already read.
  TFormObject ParseObject(const Token& name, int depth) {
    Enter(name.at, depth);
    if (const auto [first, fresh] = objectNames_.emplace(name.text, name.at); !fresh)
      lexer_.Fail(name.at, Format(u"object '%s' is already declared at %d:%d",
                                  {Utf8ToWide(name.text), first->second.line, first->second.column}));
    ExpectPunct(':', "':' and the class of the object");
    TFormObject object;
    object.Name = name.text;
    object.ClassName = Expect(TokenKind::tkIdent, "a class name").text;
    ExpectPunct('{', "'{'");
    std::map<std::string, Position> properties;
    for (;;) {
      const Token token = Next();
      if (Is(token, '}')) return object;
      if (token.kind == TokenKind::tkEnd)
        lexer_.Fail(token.at, Format(u"object '%s' (%d:%d) has no closing '}'",
                                     {Utf8ToWide(name.text), name.at.line, name.at.column}));
      if (token.kind != TokenKind::tkIdent)
        lexer_.Fail(token.at, u"expected a property or an object, found " + Describe(token));
      if (Is(Peek(), ':')) {
        object.Children.push_back(ParseObject(token, depth + 1));
        continue;
      }
      TFormProperty property;
      property.Name = token.text;
      while (Is(Peek(), '.')) {
        Next();
        property.Name += '.' + Expect(TokenKind::tkIdent, "a property name after '.'").text;
      }
      if (property.Name.size() > kFormMaxNameLength)
        lexer_.Fail(token.at, Format(u"property name longer than %d characters", {kFormMaxNameLength}));
      if (const auto [first, fresh] = properties.emplace(property.Name, token.at); !fresh)
        lexer_.Fail(token.at, Format(u"property '%s' is already set at %d:%d",
                                     {Utf8ToWide(property.Name), first->second.line, first->second.column}));
      ExpectPunct('=', "'=' after the property name");
      property.Value = ParseValue(depth);
      object.Properties.push_back(std::move(property));
    }
  }

  TFormValue ParseValue(int depth) {
    Token token = Next();
    TFormValue value;
    switch (token.kind) {
      case TokenKind::tkInteger:
        value.Value = token.integer;
        return value;
      case TokenKind::tkFloat:
        value.Value = token.real;
        return value;
      case TokenKind::tkString: {
        WideString text = std::move(token.string);
        while (Is(Peek(), '+')) {
          Next();
          text += Expect(TokenKind::tkString, "a string after '+'").string;
        }
        value.Value = std::move(text);
        return value;
      }
      case TokenKind::tkIdent:
        value.Value = TFormIdent{token.text};
        return value;
      default:
        break;
    }
    if (Is(token, '[')) {
      value.Value = ParseSet();
    } else if (Is(token, '(')) {
      Enter(token.at, depth + 1);
      value.Value = ParseList(depth + 1);
    } else if (Is(token, '{')) {
      value.Value = ParseBinary();
    } else {
      lexer_.Fail(token.at, u"expected a value, found " + Describe(token));
    }
    return value;
  }

  // After '[': identifiers separated by ',', then ']'.
  TFormSet ParseSet() {
    TFormSet set;
    for (;;) {
      Token token = Next();
      if (Is(token, ']')) return set;
      if (token.kind != TokenKind::tkIdent)
        lexer_.Fail(token.at, u"expected a set member or ']', found " + Describe(token));
      set.Members.push_back(std::move(token.text));
      const Token after = Next();
      if (Is(after, ']')) return set;
      if (!Is(after, ',')) lexer_.Fail(after.at, u"expected ',' or ']', found " + Describe(after));
    }
  }

  // After '(': values separated by ',', then ')'.
  TFormList ParseList(int depth) {
    TFormList list;
    for (;;) {
      if (Is(Peek(), ')')) {
        Next();
        return list;
      }
      list.Items.push_back(ParseValue(depth));
      const Token after = Next();
      if (Is(after, ')')) return list;
      if (!Is(after, ',')) lexer_.Fail(after.at, u"expected ',' or ')', found " + Describe(after));
    }
  }

  // After '{': "hex" and its digits, or "file" and a path, then '}'.
  TFormBinary ParseBinary() {
    // Read without looking ahead: the hex body is not made of tokens.
    const Token kind = Next();
    if (kind.kind == TokenKind::tkIdent && kind.text == "hex") return TFormBinary{lexer_.HexBody()};
    if (kind.kind != TokenKind::tkIdent || kind.text != "file")
      lexer_.Fail(kind.at, u"expected 'hex' or 'file' after '{', found " + Describe(kind));
    const Token path = Expect(TokenKind::tkString, "the quoted path of a file");
    ExpectPunct('}', "'}' after the path");
    if (!loader_) lexer_.Fail(path.at, u"file references cannot be read here");
    const std::string name = WideToUtf8(path.string);
    try {
      return TFormBinary{loader_(name)};
    } catch (const std::exception& e) {
      lexer_.Fail(path.at, u"cannot read '" + path.string + u"': " + Utf8ToWide(e.what()));
    }
  }

  Lexer lexer_;
  const FormFileLoader& loader_;
  std::optional<Token> peeked_;
  std::map<std::string, Position> objectNames_;
};

}  // namespace

TFormObject ParseFormText(std::string_view text, std::string_view sourceName, const FormFileLoader& loader) {
  return Parser(text, sourceName, loader).ParseDescription();
}

}  // namespace rt
