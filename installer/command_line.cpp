#include "installer/command_line.h"

#include <charconv>
#include <string>

namespace installer {

namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

WideStringView TrimmedBlanks(WideStringView text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

char16_t Upper(char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c; }

bool SameLetters(WideStringView a, WideStringView b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (Upper(a[i]) != Upper(b[i])) return false;
  return true;
}

// A value up to the next blank, or between quotes.
WideStringView TakeValue(WideStringView& rest) {
  if (!rest.empty() && rest.front() == u'"') {
    const size_t close = rest.find(u'"', 1);
    const WideStringView value = rest.substr(1, close == WideStringView::npos ? WideStringView::npos : close - 1);
    rest.remove_prefix(close == WideStringView::npos ? rest.size() : close + 1);
    return value;
  }
  size_t end = 0;
  while (end < rest.size() && !IsBlank(rest[end])) ++end;
  const WideStringView value = rest.substr(0, end);
  rest.remove_prefix(end);
  return value;
}

std::optional<uint64_t> Number(WideStringView text) {
  std::string digits;
  for (const char16_t c : text) {
    if (c < u'0' || c > u'9') return std::nullopt;
    digits += static_cast<char>(c);
  }
  uint64_t value = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (digits.empty() || error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
  return value;
}

}  // namespace

WideStringView ArgumentsOf(WideStringView commandLine) {
  size_t at = 0;
  if (!commandLine.empty() && commandLine.front() == u'"') {
    const size_t close = commandLine.find(u'"', 1);
    at = close == WideStringView::npos ? commandLine.size() : close + 1;
  }
  while (at < commandLine.size() && !IsBlank(commandLine[at])) ++at;
  return TrimmedBlanks(commandLine.substr(at));
}

TCommandLine ParseCommandLine(WideStringView arguments) {
  TCommandLine line;
  WideStringView rest = TrimmedBlanks(arguments);
  while (!rest.empty()) {
    const WideStringView whole = rest;
    // The first argument not understood is kept; the others are still
    // read, so that a silent run knows it is silent.
    auto unknown = [&] {
      WideStringView token = whole;
      const WideStringView taken = TakeValue(token);
      if (line.Unknown.empty()) line.Unknown = WideString(taken);
      rest = token;
    };
    if (rest.front() != u'/') {
      unknown();
      rest = TrimmedBlanks(rest);
      continue;
    }
    size_t nameEnd = 1;
    while (nameEnd < rest.size() && !IsBlank(rest[nameEnd]) && rest[nameEnd] != u'=') ++nameEnd;
    const WideStringView name = rest.substr(1, nameEnd - 1);
    const bool hasValue = nameEnd < rest.size() && rest[nameEnd] == u'=';
    rest.remove_prefix(hasValue ? nameEnd + 1 : nameEnd);

    if (!hasValue && (SameLetters(name, u"S") || SameLetters(name, u"SILENT") || SameLetters(name, u"VERYSILENT"))) {
      line.Silent = true;
    } else if (!hasValue && name == u"?") {
      line.Usage = true;
    } else if (hasValue && SameLetters(name, u"D")) {
      // The rest of the line, so that a folder with spaces needs no quotes.
      WideStringView folder = TrimmedBlanks(rest);
      if (folder.size() >= 2 && folder.front() == u'"' && folder.back() == u'"')
        folder = folder.substr(1, folder.size() - 2);
      if (folder.empty()) {
        unknown();
      } else {
        line.Folder = WideString(folder);
        rest = {};
      }
    } else if (hasValue && (SameLetters(name, u"DIR") || SameLetters(name, u"LOG") || SameLetters(name, u"_REMOVE"))) {
      const WideStringView value = TakeValue(rest);
      if (value.empty())
        unknown();
      else
        (SameLetters(name, u"DIR") ? line.Folder : SameLetters(name, u"LOG") ? line.LogFile : line.RemoveFrom) =
            WideString(value);
    } else if (hasValue && SameLetters(name, u"_AFTER")) {
      line.After = Number(TakeValue(rest));
      if (!line.After) unknown();
    } else {
      unknown();
    }
    rest = TrimmedBlanks(rest);
  }
  return line;
}

WideString UsageText() {
  return u"InstalaQuimora [/S] [/LOG=archivo] [/D=carpeta]\r\r"
         u"/S\tInstala sin ventana ni mensajes (también /SILENT, /VERYSILENT).\r"
         u"/D=carpeta\tLa carpeta de instalación: el resto de la línea, sin comillas (también /DIR=\"carpeta\").\r"
         u"/LOG=archivo\tEscribe un registro en UTF-8 de lo instalado.\r"
         u"/?\tMuestra esta ayuda.\r\r"
         u"Códigos de salida: 0 instalado, 1 cancelado, 2 instalador dañado o incompleto, "
         u"3 carpeta imposible de crear, 4 elementos no instalados, 5 espacio insuficiente, 64 línea de órdenes incorrecta.";
}

}  // namespace installer
