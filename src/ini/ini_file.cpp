#include "ini/ini_file.h"

#include "ini/profile_text.h"
#include "ini/safe_file_write.h"

IniDocument IniFile::Load() const {
  FileContent content = files_.ReadFile(path_);
  if (content.status != ReadStatus::Ok) return {};
  return IniDocument::Parse(ProfileText::Decode(std::move(content.bytes)).Gbk());
}

std::string IniFile::Read(std::string_view section, std::string_view key,
                          std::string_view fallback) const {
  return Load().Get(section, key, fallback);
}

FileResult IniFile::Write(std::string_view section, std::string_view key, std::string_view value) {
  return Update([&](IniDocument& doc) { doc.Set(section, key, value); });
}

FileResult IniFile::DeleteSection(std::string_view section) {
  return Update([&](IniDocument& doc) { doc.DeleteSection(section); });
}

FileResult IniFile::Update(const std::function<void(IniDocument&)>& change) {
  if (path_.empty()) return {false, false, {}, {}};  // not pointed at config.ini yet
  FileContent current = files_.ReadFile(path_);
  // A file that exists but cannot be read must not be replaced by one that
  // holds only the keys written now.
  if (current.status == ReadStatus::Failed) return {false, false, path_, current.reason};

  const ProfileText text = ProfileText::Decode(current.bytes);
  IniDocument doc = IniDocument::Parse(text.Gbk());
  change(doc);
  const std::string bytes = text.Encode(doc.Serialize());
  if (current.status == ReadStatus::Ok && bytes == current.bytes) return {};
  return SafeFileWrite(files_, path_, bytes, patient_);
}

void IniFile::RemoveStaleCopy() {
  const std::string temp = TemporaryCopyPath(path_);
  if (files_.FileExists(temp) && files_.ReadFile(path_).status == ReadStatus::Ok) files_.RemoveFile(temp);
}
