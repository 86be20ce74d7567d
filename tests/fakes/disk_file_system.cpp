#include "fakes/disk_file_system.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

namespace {

// Windows' own words, as FormatMessage gives them on a Chinese system.
constexpr char kAccessDenied[] = "拒绝访问。";
constexpr char kInUse[] = "另一个程序正在使用此文件，进程无法访问。";
constexpr char kDiskFull[] = "磁盘空间不足。";
constexpr char kLocked[] = "另一个程序已锁定文件的一部分，进程无法访问。";

bool ReadOnly(const std::string& host) {
  std::error_code ec;
  return (fs::status(host, ec).permissions() & fs::perms::owner_write) == fs::perms::none;
}

}  // namespace

std::string DiskFileSystem::HostPath(const std::string& path) {
  std::string host = path;
  for (char& c : host)
    if (c == '\\') c = '/';
  return host;
}

bool DiskFileSystem::HeldAlone(const std::string& path) const {
  auto it = heldAlone.find(path);
  return HeldExclusive(path) || (it != heldAlone.end() && it->second > 0);
}

bool DiskFileSystem::HeldExclusive(const std::string& path) const {
  auto it = heldExclusive.find(path);
  return it != heldExclusive.end() && it->second > 0;
}

FileContent DiskFileSystem::ReadFile(const std::string& path) {
  const std::string host = HostPath(path);
  std::error_code ec;
  if (!fs::exists(host, ec)) return {ReadStatus::Missing, {}, {}};
  if (HeldExclusive(path)) return {ReadStatus::Failed, {}, kInUse, true};
  if (unreadable.count(path) || fs::is_directory(host, ec)) return {ReadStatus::Failed, {}, kAccessDenied};
  std::ifstream in(host, std::ios::binary);
  if (!in) return {ReadStatus::Failed, {}, kAccessDenied};
  return {ReadStatus::Ok, std::string(std::istreambuf_iterator<char>(in), {}), {}};
}

FileResult DiskFileSystem::WriteNewFile(const std::string& path, std::string_view bytes) {
  std::error_code ec;
  const std::string host = HostPath(path);
  if (HeldAlone(path)) return {false, true, path, kInUse};
  if (folderDeniesCreate && !fs::exists(host, ec)) return {false, false, path, kAccessDenied};
  std::ofstream out(host, std::ios::binary | std::ios::trunc);
  if (!out) return {false, false, path, kAccessDenied};
  if (diskFull) {
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size() / 2));  // what fits
    return {false, false, path, kDiskFull};
  }
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.flush();
  if (!out) return {false, false, path, kAccessDenied};
  return {};
}

FileResult DiskFileSystem::ReplaceFile(const std::string& from, const std::string& to) {
  std::error_code ec;
  const std::string target = HostPath(to);
  const bool exists = fs::exists(target, ec);
  if (!exists) {
    // A plain move: a new name in the folder.
    if (folderDeniesCreate) return {false, false, to, kAccessDenied};
    fs::rename(HostPath(from), target, ec);
    if (ec) return {false, false, to, kAccessDenied};
    return {};
  }
  if (heldShared.count(to) || HeldAlone(to)) return {false, true, to, kInUse};
  if (ReadOnly(target) || fs::is_directory(target, ec)) return {false, false, to, kAccessDenied};
  // The replaced file's security goes over to its replacement.
  const fs::perms kept = fs::status(target, ec).permissions();
  fs::rename(HostPath(from), target, ec);
  if (ec) return {false, false, to, kAccessDenied};
  fs::permissions(target, kept, ec);
  ++replaced;
  return {};
}

FileResult DiskFileSystem::OverwriteInPlace(const std::string& path, std::string_view bytes) {
  std::error_code ec;
  const std::string host = HostPath(path);
  if (HeldAlone(path)) return {false, true, path, kInUse};
  if (!fs::is_regular_file(host, ec) || ReadOnly(host)) return {false, false, path, kAccessDenied};
  const std::uintmax_t size = fs::file_size(host, ec);
  if (bytes.size() > size) {
    if (diskFull) return {false, false, path, kDiskFull};
    fs::resize_file(host, bytes.size(), ec);
  }
  std::fstream out(host, std::ios::binary | std::ios::in | std::ios::out);
  const bool refused = inPlaceRefusedAfter && *inPlaceRefusedAfter < bytes.size();
  const std::size_t written = refused ? *inPlaceRefusedAfter : bytes.size();
  out.write(bytes.data(), static_cast<std::streamsize>(written));
  out.flush();
  if (refused) {
    FileResult failed{false, true, path, kLocked};
    failed.partial = true;
    return failed;
  }
  out.close();
  fs::resize_file(host, bytes.size(), ec);
  if (!out || ec) return {false, false, path, kAccessDenied};
  return {};
}

bool DiskFileSystem::IsLinked(const std::string& path) {
  std::error_code ec;
  const std::string host = HostPath(path);
  return fs::is_symlink(host, ec) || (fs::is_regular_file(host, ec) && fs::hard_link_count(host, ec) > 1);
}

bool DiskFileSystem::RemoveFile(const std::string& path) {
  std::error_code ec;
  return fs::is_regular_file(HostPath(path), ec) && fs::remove(HostPath(path), ec);
}

bool DiskFileSystem::FileExists(const std::string& path) {
  std::error_code ec;
  return fs::is_regular_file(HostPath(path), ec);
}

void DiskFileSystem::PauseBeforeRetry(unsigned milliseconds) {
  paused += milliseconds;
  for (auto* held : {&heldAlone, &heldExclusive})
    for (auto& [path, left] : *held) left = left > milliseconds ? left - milliseconds : 0;
}
