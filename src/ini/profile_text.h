#pragma once
// config.ini's bytes as Windows' profile functions take them: GBK text as
// it is, or UTF-8, UTF-16 LE or UTF-16 BE behind a byte-order mark. A file
// without a mark that is valid UTF-8 and not plain ASCII is UTF-8, as
// Notepad reads it (and saves it by default). The INI code works on GBK; a
// file that came in UTF goes back in the same encoding, with its mark if it
// had one. A line holding characters GBK cannot hold reads with "?" in their
// place, and as long as the program leaves that line as it read it, the
// line goes back with its own original bytes.
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class ProfileText {
 public:
  static ProfileText Decode(std::string fileBytes);

  const std::string& Gbk() const { return gbk_; }
  // GBK text (the decoded text, changed or not) in the file's encoding.
  std::string Encode(std::string_view gbk) const;

 private:
  enum class Encoding { Gbk, Utf8, Utf8WithoutMark, Utf16Le, Utf16Be };
  Encoding encoding_ = Encoding::Gbk;
  std::string gbk_;
  // For each line as read (without its line break) that GBK could not hold
  // at least once: the original bytes of every line that reads so, in file
  // order, nothing where the line itself read whole. The n-th such line
  // written goes back as the n-th line read.
  std::unordered_map<std::string, std::vector<std::optional<std::string>>> kept_;
};
