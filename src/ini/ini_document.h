#pragma once
// An INI file held in memory, read and edited the way the Windows
// private-profile functions do it: section and key names compare ignoring
// ASCII case, the first of duplicate sections or keys wins, values are
// trimmed of blanks, and a write touches only the line it changes. Every
// other line is kept byte for byte, comments and unknown keys included.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class IniDocument {
 public:
  // A read returns at most this many bytes, as a 10240-byte reader buffer does.
  static constexpr std::size_t kMaxValueBytes = 10239;

  IniDocument() = default;
  static IniDocument Parse(std::string_view bytes);
  std::string Serialize() const;

  // Nothing when the section or key is missing; "" for a present empty value.
  std::optional<std::string> Get(std::string_view section, std::string_view key) const;
  std::string Get(std::string_view section, std::string_view key, std::string_view fallback) const;
  // The key names of the first section of that name, in file order.
  std::vector<std::string> Keys(std::string_view section) const;

  // Replaces the value of the first matching key, or adds the key after the
  // last key of its section, or adds the section at the end. Line breaks in
  // the value would split it into lines of their own, so they are dropped.
  void Set(std::string_view section, std::string_view key, std::string_view value);
  // Removes every section of that name with all its lines.
  void DeleteSection(std::string_view section);

 private:
  struct Line {
    std::string text;  // without its line break
    std::string eol;   // "\r\n", "\n", or "" for a last line without one
  };
  struct Section {
    std::string lowerName;
    Line header;
    std::vector<Line> body;
    std::unordered_map<std::string, std::size_t> keys;  // lower-case key -> body index, first wins
    std::size_t AfterLastKey() const;
    void IndexKeys();
  };

  const Section* FindSection(std::string_view name) const;
  Section* FindSection(std::string_view name);
  Line& LastLine();
  void EnsureLastLineEnds();

  std::vector<Line> prelude_;  // lines before the first section
  std::vector<Section> sections_;
  std::unordered_map<std::string, std::size_t> sectionIndex_;  // lower-case name -> first section
};
