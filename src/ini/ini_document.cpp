#include "ini/ini_document.h"

#include <algorithm>
#include <utility>

#include "shared/gbk_text.h"

namespace {

constexpr std::string_view kNewLine = "\r\n";

std::string_view Trim(std::string_view s) {
  auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

// The section name of a header line "[name]", or nothing for other lines.
std::optional<std::string_view> SectionName(std::string_view line) {
  std::string_view t = Trim(line);
  if (t.empty() || t.front() != '[') return std::nullopt;
  t.remove_prefix(1);
  std::size_t close = gbk::FindFirst(t, ']');
  return Trim(close == std::string_view::npos ? t : t.substr(0, close));
}

// The key of a "key=value" line; comment lines and lines without "=" have none.
std::optional<std::string_view> KeyName(std::string_view line) {
  std::string_view t = Trim(line);
  if (t.empty() || t.front() == ';') return std::nullopt;
  std::size_t eq = t.find('=');  // '=' is never a GBK trail byte
  if (eq == std::string_view::npos) return std::nullopt;
  return Trim(t.substr(0, eq));
}

std::string_view ValueOf(std::string_view line) {
  std::string_view v = Trim(line.substr(line.find('=') + 1));
  return gbk::CutToFit(v, IniDocument::kMaxValueBytes);
}

std::string WithoutLineBreaks(std::string_view value) {
  std::string out(value);
  std::erase_if(out, [](char c) { return c == '\r' || c == '\n'; });
  return out;
}

}  // namespace

void IniDocument::Section::IndexKeys() {
  keys.clear();
  for (std::size_t i = 0; i < body.size(); ++i)
    if (auto key = KeyName(body[i].text)) keys.emplace(gbk::AsciiLower(*key), i);
}

std::size_t IniDocument::Section::AfterLastKey() const {
  for (std::size_t i = body.size(); i > 0; --i)
    if (KeyName(body[i - 1].text)) return i;
  return 0;
}

IniDocument IniDocument::Parse(std::string_view bytes) {
  IniDocument doc;
  std::vector<Line>* target = &doc.prelude_;
  while (!bytes.empty()) {
    std::size_t nl = bytes.find('\n');
    Line line;
    if (nl == std::string_view::npos) {
      line.text = std::string(bytes);
      bytes = {};
    } else {
      std::size_t end = (nl > 0 && bytes[nl - 1] == '\r') ? nl - 1 : nl;
      line.text = std::string(bytes.substr(0, end));
      line.eol = std::string(bytes.substr(end, nl + 1 - end));
      bytes.remove_prefix(nl + 1);
    }
    if (auto name = SectionName(line.text)) {
      Section section;
      section.lowerName = gbk::AsciiLower(*name);
      section.header = std::move(line);
      doc.sectionIndex_.emplace(section.lowerName, doc.sections_.size());
      doc.sections_.push_back(std::move(section));
      target = &doc.sections_.back().body;
    } else {
      target->push_back(std::move(line));
    }
  }
  for (auto& section : doc.sections_) section.IndexKeys();
  return doc;
}

std::string IniDocument::Serialize() const {
  std::string out;
  auto append = [&out](const Line& line) {
    out += line.text;
    out += line.eol;
  };
  std::for_each(prelude_.begin(), prelude_.end(), append);
  for (const auto& section : sections_) {
    append(section.header);
    std::for_each(section.body.begin(), section.body.end(), append);
  }
  return out;
}

const IniDocument::Section* IniDocument::FindSection(std::string_view name) const {
  auto it = sectionIndex_.find(gbk::AsciiLower(Trim(name)));
  return it == sectionIndex_.end() ? nullptr : &sections_[it->second];
}

IniDocument::Section* IniDocument::FindSection(std::string_view name) {
  return const_cast<Section*>(std::as_const(*this).FindSection(name));
}

std::optional<std::string> IniDocument::Get(std::string_view section, std::string_view key) const {
  const Section* s = FindSection(section);
  if (!s) return std::nullopt;
  auto it = s->keys.find(gbk::AsciiLower(Trim(key)));
  if (it == s->keys.end()) return std::nullopt;
  return std::string(ValueOf(s->body[it->second].text));
}

std::string IniDocument::Get(std::string_view section, std::string_view key,
                             std::string_view fallback) const {
  auto value = Get(section, key);
  return value ? *value : std::string(gbk::CutToFit(fallback, kMaxValueBytes));
}

std::vector<std::string> IniDocument::Keys(std::string_view section) const {
  std::vector<std::string> names;
  if (const Section* s = FindSection(section))
    for (const auto& line : s->body)
      if (auto key = KeyName(line.text)) names.emplace_back(*key);
  return names;
}

IniDocument::Line& IniDocument::LastLine() {
  if (sections_.empty()) return prelude_.back();
  Section& last = sections_.back();
  return last.body.empty() ? last.header : last.body.back();
}

void IniDocument::EnsureLastLineEnds() {
  if (sections_.empty() && prelude_.empty()) return;
  Line& last = LastLine();
  if (last.eol.empty()) last.eol = kNewLine;
}

void IniDocument::Set(std::string_view section, std::string_view key, std::string_view value) {
  const std::string cleanValue = WithoutLineBreaks(value);
  Section* s = FindSection(section);
  if (!s) {
    EnsureLastLineEnds();
    Section added;
    added.lowerName = gbk::AsciiLower(Trim(section));
    added.header.text.append("[").append(Trim(section)).append("]");
    added.header.eol = kNewLine;
    sectionIndex_.emplace(added.lowerName, sections_.size());
    sections_.push_back(std::move(added));
    s = &sections_.back();
  }

  auto it = s->keys.find(gbk::AsciiLower(Trim(key)));
  if (it != s->keys.end()) {
    std::string& text = s->body[it->second].text;
    text.resize(text.find('=') + 1);
    text += cleanValue;
    return;
  }

  std::size_t at = s->AfterLastKey();
  Line& before = at == 0 ? s->header : s->body[at - 1];
  if (before.eol.empty()) before.eol = kNewLine;
  s->body.insert(s->body.begin() + static_cast<std::ptrdiff_t>(at),
                 Line{std::string(Trim(key)).append("=").append(cleanValue), std::string(kNewLine)});
  if (at == s->body.size() - 1)
    s->keys.emplace(gbk::AsciiLower(Trim(key)), at);
  else
    s->IndexKeys();  // lines after the insertion moved down
}

void IniDocument::DeleteSection(std::string_view section) {
  const std::string lower = gbk::AsciiLower(Trim(section));
  std::erase_if(sections_, [&](const Section& s) { return s.lowerName == lower; });
  sectionIndex_.clear();
  for (std::size_t i = 0; i < sections_.size(); ++i) sectionIndex_.emplace(sections_[i].lowerName, i);
}
