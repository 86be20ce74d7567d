#include "ini/ini_file.h"

#include "platform/file_system.h"

IniDocument IniFile::Load() const {
  FileContent content = files_.ReadFile(path_);
  return content.status == ReadStatus::Ok ? IniDocument::Parse(content.bytes) : IniDocument{};
}

std::string IniFile::Read(std::string_view section, std::string_view key,
                          std::string_view fallback) const {
  return Load().Get(section, key, fallback);
}

bool IniFile::Write(std::string_view section, std::string_view key, std::string_view value) {
  return Update([&](IniDocument& doc) { doc.Set(section, key, value); });
}

bool IniFile::DeleteSection(std::string_view section) {
  return Update([&](IniDocument& doc) { doc.DeleteSection(section); });
}

bool IniFile::Update(const std::function<void(IniDocument&)>& change) {
  if (path_.empty()) return false;  // not pointed at config.ini yet
  FileContent current = files_.ReadFile(path_);
  // A file that exists but cannot be read must not be replaced by one that
  // holds only the keys written now.
  if (current.status == ReadStatus::Failed) return false;

  IniDocument doc = IniDocument::Parse(current.bytes);
  change(doc);
  std::string bytes = doc.Serialize();
  if (current.status == ReadStatus::Ok && bytes == current.bytes) return true;

  const std::string temp = path_ + ".new";
  if (files_.WriteNewFile(temp, bytes) && files_.ReplaceFile(temp, path_)) return true;
  files_.RemoveFile(temp);
  return false;
}
