#include "ini/profile_text.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "shared/gbk_wide.h"
#include "shared/utf8_text.h"

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";
constexpr wchar_t kReplacement = 0xFFFD;

// Characters that came from GBK all lie in the Basic Multilingual Plane.
std::string ToUtf8(std::wstring_view text) {
  std::string out;
  for (wchar_t w : text) {
    const auto c = static_cast<unsigned>(w);
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | c >> 6);
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xE0 | c >> 12);
      out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

std::wstring FromUtf16(std::string_view bytes, bool bigEndian) {
  std::wstring out;
  const int high = bigEndian ? 0 : 1;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
    out.push_back(static_cast<wchar_t>(static_cast<unsigned char>(bytes[i + high]) << 8 |
                                       static_cast<unsigned char>(bytes[i + 1 - high])));
  if (bytes.size() % 2) out.push_back(kReplacement);  // half a character at the end
  return out;
}

std::string ToUtf16(std::wstring_view text, bool bigEndian) {
  std::string out;
  for (wchar_t w : text) {
    const char low = static_cast<char>(w & 0xFF), high = static_cast<char>(w >> 8 & 0xFF);
    out += bigEndian ? high : low;
    out += bigEndian ? low : high;
  }
  return out;
}

// The length of the line break that ends a line of GBK text.
std::size_t LineBreakLength(std::string_view line) {
  if (!line.ends_with('\n')) return 0;
  return line.ends_with("\r\n") ? 2 : 1;
}

}  // namespace

ProfileText ProfileText::Decode(std::string fileBytes) {
  ProfileText text;
  std::string_view body = fileBytes;
  if (body.starts_with(kUtf8Mark)) {
    text.encoding_ = Encoding::Utf8;
    body.remove_prefix(kUtf8Mark.size());
  } else if (body.starts_with(kUtf16LeMark)) {
    text.encoding_ = Encoding::Utf16Le;
    body.remove_prefix(kUtf16LeMark.size());
  } else if (body.starts_with(kUtf16BeMark)) {
    text.encoding_ = Encoding::Utf16Be;
    body.remove_prefix(kUtf16BeMark.size());
  } else if (utf8::ReadsAsUtf8(body)) {
    text.encoding_ = Encoding::Utf8WithoutMark;
  } else {
    text.gbk_ = std::move(fileBytes);
    return text;
  }

  const bool utf8 = text.encoding_ == Encoding::Utf8 || text.encoding_ == Encoding::Utf8WithoutMark;
  const bool bigEndian = text.encoding_ == Encoding::Utf16Be;
  const std::size_t unit = utf8 ? 1 : 2;
  const std::string_view newline = utf8        ? std::string_view("\n")
                                   : bigEndian ? std::string_view("\0\n", 2)
                                               : std::string_view("\n\0", 2);
  std::vector<std::pair<std::string, std::string>> lines;  // content as read, original bytes
  std::unordered_map<std::string, bool> lost;              // content -> some line with it lost characters
  for (std::size_t pos = 0; pos < body.size();) {
    std::size_t end = body.find(newline, pos);
    while (end != std::string_view::npos && (end - pos) % unit) end = body.find(newline, end + 1);
    end = end == std::string_view::npos ? body.size() : end + unit;
    const std::string_view raw = body.substr(pos, end - pos);
    const std::wstring wide = utf8 ? utf8::ToWide(raw) : FromUtf16(raw, bigEndian);
    const std::string line = gbk::FromWide(wide);
    const std::size_t lineBreak = LineBreakLength(line);
    std::string content = line.substr(0, line.size() - lineBreak);
    if (gbk::ToWide(line) != wide) lost[content] = true;
    lines.emplace_back(std::move(content), std::string(raw.substr(0, raw.size() - lineBreak * unit)));
    text.gbk_ += line;
    pos = end;
  }
  for (auto& [content, original] : lines) {
    if (!lost.count(content)) continue;
    const bool whole = gbk::ToWide(content) == (utf8 ? utf8::ToWide(original) : FromUtf16(original, bigEndian));
    text.kept_[content].push_back(whole ? std::nullopt : std::optional<std::string>(std::move(original)));
  }
  return text;
}

std::string ProfileText::Encode(std::string_view gbk) const {
  if (encoding_ == Encoding::Gbk) return std::string(gbk);
  const bool utf8 = encoding_ == Encoding::Utf8 || encoding_ == Encoding::Utf8WithoutMark;
  const bool bigEndian = encoding_ == Encoding::Utf16Be;
  std::string out(encoding_ == Encoding::Utf8              ? kUtf8Mark
                  : encoding_ == Encoding::Utf8WithoutMark ? std::string_view()
                  : bigEndian                              ? kUtf16BeMark
                                                           : kUtf16LeMark);
  auto encode = [utf8, bigEndian](std::string_view part) {
    const std::wstring wide = gbk::ToWide(part);
    return utf8 ? ToUtf8(wide) : ToUtf16(wide, bigEndian);
  };
  std::unordered_map<std::string, std::size_t> seen;  // content -> lines written so far
  for (std::size_t pos = 0; pos < gbk.size();) {
    const std::size_t nl = gbk.find('\n', pos);  // never a GBK trail byte
    const std::size_t end = nl == std::string_view::npos ? gbk.size() : nl + 1;
    const std::string_view line = gbk.substr(pos, end - pos);
    const std::size_t lineBreak = LineBreakLength(line);
    const std::string content(line.substr(0, line.size() - lineBreak));
    const std::optional<std::string>* original = nullptr;
    if (auto kept = kept_.find(content); kept != kept_.end()) {
      const std::size_t n = seen[content]++;
      if (n < kept->second.size()) original = &kept->second[n];
    }
    out += original && *original ? **original : encode(content);
    out += encode(line.substr(content.size()));
    pos = end;
  }
  return out;
}
