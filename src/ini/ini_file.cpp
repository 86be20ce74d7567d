#include "ini/ini_file.h"

#include "ini/profile_text.h"
#include "ini/safe_file_write.h"

IniDocument IniFile::Load() const {
  FileContent content = files_.ReadFile(path_);
  if (content.status != ReadStatus::Ok) return {};
  return IniDocument::Parse(ProfileText::Decode(std::move(content.bytes)).Gbk());
}

IniDocument IniFile::LoadAtStart(std::string* reason) {
  RetryPatience patience(patient_);
  FileContent content;
  do {
    content = files_.ReadFile(path_);
  } while (content.status == ReadStatus::Failed && content.busy && patience.PauseBeforeNextTry(files_));
  if (content.status == ReadStatus::Failed) {
    // Its copies stay: they may be all there is.
    unreadReason_ = content.reason.empty() ? std::string("无法读取。") : content.reason;
    if (reason) *reason = unreadReason_;
    return {};
  }
  RecoverInterruptedSave(content);
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
  if (Unread()) return {false, false, path_, "启动时未能读取此文件：" + unreadReason_};
  FileContent current = files_.ReadFile(path_);
  // A file that exists but cannot be read must not be replaced by one that
  // holds only the keys written now.
  if (current.status == ReadStatus::Failed) return {false, false, path_, current.reason};
  // After a write in place that did not land, the file may be cut; the
  // complete copy holds what it should.
  const FileContent copy = files_.ReadFile(CompleteCopyPath(path_));
  const bool fromCopy = copy.status == ReadStatus::Ok;

  const ProfileText text = ProfileText::Decode(fromCopy ? copy.bytes : current.bytes);
  IniDocument doc = IniDocument::Parse(text.Gbk());
  change(doc);
  const std::string bytes = text.Encode(doc.Serialize());
  FileResult result;
  if (current.status != ReadStatus::Ok || bytes != current.bytes)
    result = SafeFileWrite(files_, path_, bytes, patient_, !fromCopy);
  if (result && fromCopy) files_.RemoveFile(CompleteCopyPath(path_));
  return result;
}

void IniFile::RecoverInterruptedSave(FileContent& current) {
  const std::string temp = TemporaryCopyPath(path_);
  if (files_.FileExists(temp)) files_.RemoveFile(temp);

  const std::string complete = CompleteCopyPath(path_);
  FileContent copy = files_.ReadFile(complete);
  if (copy.status != ReadStatus::Ok) return;
  if (current.status != ReadStatus::Ok || current.bytes != copy.bytes) {
    // A write in place stopped part of the way: the copy is what the file
    // should hold, and what this start reads, whether or not it lands now.
    if (!SafeFileWrite(files_, path_, copy.bytes, patient_, false)) {
      current = std::move(copy);
      return;
    }
    current = std::move(copy);
  }
  files_.RemoveFile(complete);
}
