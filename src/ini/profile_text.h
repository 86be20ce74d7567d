#pragma once
// config.ini's bytes as Windows' profile functions take them: GBK text as
// it is, or UTF-8 or UTF-16 LE behind a byte-order mark. The INI code works
// on GBK; a file that came in UTF goes back in the same encoding with its
// mark. A line holding characters GBK cannot hold reads with "?" in their
// place, and as long as the program leaves that line as it read it, the
// line goes back with its original characters.
#include <string>
#include <string_view>
#include <unordered_map>

class ProfileText {
 public:
  static ProfileText Decode(std::string fileBytes);

  const std::string& Gbk() const { return gbk_; }
  // GBK text (the decoded text, changed or not) in the file's encoding.
  std::string Encode(std::string_view gbk) const;

 private:
  enum class Encoding { Gbk, Utf8, Utf16Le };
  Encoding encoding_ = Encoding::Gbk;
  std::string gbk_;
  // Lines GBK cannot hold, without their line break: as read -> original bytes.
  std::unordered_map<std::string, std::string> kept_;
};
