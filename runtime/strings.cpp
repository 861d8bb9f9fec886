#include "runtime/strings.h"

namespace rt {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

void AppendCodePoint(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

}  // namespace

void AppendUtf16(WideString& out, char32_t cp) {
  if (cp < 0x10000) {
    out.push_back(static_cast<char16_t>(cp));
  } else {
    cp -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
  }
}

TUtf8Sequence DecodeUtf8Sequence(std::string_view bytes) {
  const auto lead = static_cast<unsigned char>(bytes[0]);
  if (lead < 0x80) return {lead, 1, true};
  size_t extra;
  char32_t cp;
  char32_t minimum;
  if ((lead & 0xE0) == 0xC0) {
    extra = 1, cp = lead & 0x1F, minimum = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    extra = 2, cp = lead & 0x0F, minimum = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    extra = 3, cp = lead & 0x07, minimum = 0x10000;
  } else {
    return {kReplacement, 1, false};
  }
  size_t taken = 1;
  while (taken <= extra && taken < bytes.size() && (static_cast<unsigned char>(bytes[taken]) & 0xC0) == 0x80) {
    cp = (cp << 6) | (static_cast<unsigned char>(bytes[taken]) & 0x3F);
    ++taken;
  }
  const bool valid =
      taken == extra + 1 && cp >= minimum && cp <= 0x10FFFF && !(cp >= 0xD800 && cp <= 0xDFFF);
  return {valid ? cp : kReplacement, taken, valid};
}

WideString Utf8ToWide(std::string_view utf8) {
  WideString out;
  out.reserve(utf8.size());
  size_t i = 0;
  while (i < utf8.size()) {
    if (static_cast<unsigned char>(utf8[i]) < 0x80) {
      out.push_back(static_cast<char16_t>(utf8[i++]));
      continue;
    }
    // A malformed sequence is replaced as a whole.
    const TUtf8Sequence sequence = DecodeUtf8Sequence(utf8.substr(i));
    AppendUtf16(out, sequence.codePoint);
    i += sequence.length;
  }
  return out;
}

std::string WideToUtf8(WideStringView wide) {
  std::string out;
  AppendUtf8(out, wide);
  return out;
}

void AppendUtf8(std::string& out, WideStringView wide) {
  // ASCII runs are copied straight; anything else is encoded one code
  // point at a time.
  size_t i = 0;
  while (i < wide.size()) {
    size_t run = i;
    while (run < wide.size() && wide[run] < 0x80) ++run;
    if (run > i) {
      const size_t at = out.size();
      out.resize(at + (run - i));
      for (size_t k = i; k < run; ++k) out[at + (k - i)] = static_cast<char>(wide[k]);
      i = run;
      continue;
    }
    char32_t cp = wide[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < wide.size() && wide[i + 1] >= 0xDC00 &&
        wide[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (wide[i + 1] - 0xDC00);
      ++i;
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = kReplacement;
    }
    AppendCodePoint(out, cp);
    ++i;
  }
}

WideString Widen(std::string_view ascii) {
  return WideString(ascii.begin(), ascii.end());
}

}  // namespace rt
