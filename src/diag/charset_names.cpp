#include "diag/charset_names.h"

#include <array>
#include <utility>

#include "shared/gbk_text.h"

namespace {

// The names web pages use for the character sets Windows can read, with
// the usual aliases.
constexpr std::array<std::pair<std::string_view, std::uint32_t>, 52> kCharsets{{
    {"utf-8", 65001},        {"utf8", 65001},          {"unicode-1-1-utf-8", 65001},
    {"utf-7", 65000},        {"utf-16", kCodePageUtf16LE}, {"utf-16le", kCodePageUtf16LE},
    {"unicode", kCodePageUtf16LE}, {"utf-16be", kCodePageUtf16BE}, {"unicodefffe", kCodePageUtf16BE},
    {"gbk", 936},            {"gb2312", 936},          {"x-gbk", 936},
    {"cp936", 936},          {"gb_2312-80", 936},      {"chinese", 936},
    {"gb18030", 54936},      {"hz-gb-2312", 52936},    {"big5", 950},
    {"big5-hkscs", 950},     {"x-x-big5", 950},        {"cn-big5", 950},
    {"shift_jis", 932},      {"shift-jis", 932},       {"sjis", 932},
    {"x-sjis", 932},         {"windows-31j", 932},     {"euc-jp", 20932},
    {"iso-2022-jp", 50220},  {"euc-kr", 949},          {"ks_c_5601-1987", 949},
    {"us-ascii", 20127},     {"ascii", 20127},         {"iso-8859-1", 28591},
    {"latin1", 28591},       {"iso-8859-2", 28592},    {"iso-8859-5", 28595},
    {"iso-8859-7", 28597},   {"iso-8859-9", 28599},    {"iso-8859-15", 28605},
    {"koi8-r", 20866},       {"koi8-u", 21866},        {"windows-874", 874},
    {"windows-1250", 1250},  {"windows-1251", 1251},   {"windows-1252", 1252},
    {"windows-1253", 1253},  {"windows-1254", 1254},   {"windows-1255", 1255},
    {"windows-1256", 1256},  {"windows-1257", 1257},   {"windows-1258", 1258},
    {"tis-620", 874},
}};

}  // namespace

std::optional<std::uint32_t> CodePageForCharset(std::string_view name) {
  const std::string lower = gbk::AsciiLower(name);
  for (const auto& [charset, codePage] : kCharsets)
    if (lower == charset) return codePage;
  return std::nullopt;
}
