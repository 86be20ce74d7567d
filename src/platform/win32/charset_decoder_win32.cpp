#include "platform/win32/charset_decoder_win32.h"

#include <windows.h>

#include "diag/charset_names.h"

namespace {

constexpr UINT kGbk = 936;

std::wstring Utf16FromBytes(std::string_view bytes, bool bigEndian) {
  std::wstring wide;
  wide.reserve(bytes.size() / 2);
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const auto a = static_cast<unsigned char>(bytes[i]), b = static_cast<unsigned char>(bytes[i + 1]);
    wide.push_back(static_cast<wchar_t>(bigEndian ? (a << 8 | b) : (b << 8 | a)));
  }
  return wide;
}

std::optional<std::wstring> WideFromCodePage(std::string_view bytes, UINT codePage) {
  if (bytes.empty()) return std::wstring();
  const int length = static_cast<int>(bytes.size());
  const int needed = MultiByteToWideChar(codePage, 0, bytes.data(), length, nullptr, 0);
  if (needed <= 0) return std::nullopt;  // a code page this system lacks
  std::wstring wide(static_cast<std::size_t>(needed), L'\0');
  if (MultiByteToWideChar(codePage, 0, bytes.data(), length, wide.data(), needed) != needed) return std::nullopt;
  return wide;
}

std::optional<std::string> GbkFromWide(const std::wstring& wide) {
  if (wide.empty()) return std::string();
  const int length = static_cast<int>(wide.size());
  const int needed = WideCharToMultiByte(kGbk, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
  if (needed <= 0) return std::nullopt;
  std::string text(static_cast<std::size_t>(needed), '\0');
  if (WideCharToMultiByte(kGbk, 0, wide.data(), length, text.data(), needed, nullptr, nullptr) != needed)
    return std::nullopt;
  return text;
}

}  // namespace

std::optional<std::string> Win32CharsetDecoder::Decode(std::string_view bytes, const std::string& charset) {
  const std::optional<std::uint32_t> codePage = CodePageForCharset(charset);
  if (!codePage) return std::nullopt;
  std::optional<std::wstring> wide;
  if (*codePage == kCodePageUtf16LE || *codePage == kCodePageUtf16BE)
    wide = Utf16FromBytes(bytes, *codePage == kCodePageUtf16BE);
  else
    wide = WideFromCodePage(bytes, *codePage);
  if (!wide) return std::nullopt;
  // A byte-order mark is no part of the text.
  if (!wide->empty() && wide->front() == 0xFEFF) wide->erase(0, 1);
  return GbkFromWide(*wide);
}
