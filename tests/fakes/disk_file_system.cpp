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
  return it != heldAlone.end() && it->second > 0;
}

FileContent DiskFileSystem::ReadFile(const std::string& path) {
  const std::string host = HostPath(path);
  std::error_code ec;
  if (!fs::exists(host, ec)) return {ReadStatus::Missing, {}, {}};
  if (unreadable.count(path) || fs::is_directory(host, ec)) return {ReadStatus::Failed, {}, kAccessDenied};
  std::ifstream in(host, std::ios::binary);
  if (!in) return {ReadStatus::Failed, {}, kAccessDenied};
  return {ReadStatus::Ok, std::string(std::istreambuf_iterator<char>(in), {}), {}};
}

FileResult DiskFileSystem::WriteNewFile(const std::string& path, std::string_view bytes) {
  std::ofstream out(HostPath(path), std::ios::binary | std::ios::trunc);
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
  if (heldShared.count(to) || HeldAlone(to)) return {false, true, to, kInUse};
  if (fs::exists(target, ec) && ReadOnly(target)) return {false, false, to, kAccessDenied};
  fs::rename(HostPath(from), target, ec);
  if (ec) return {false, false, to, kAccessDenied};
  return {};
}

FileResult DiskFileSystem::OverwriteInPlace(const std::string& path, std::string_view bytes) {
  std::error_code ec;
  const std::string host = HostPath(path);
  if (HeldAlone(path)) return {false, true, path, kInUse};
  if (!fs::is_regular_file(host, ec) || ReadOnly(host)) return {false, false, path, kAccessDenied};
  std::ofstream out(host, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.flush();
  if (!out) return {false, false, path, kAccessDenied};
  return {};
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
  for (auto& [path, left] : heldAlone) left = left > milliseconds ? left - milliseconds : 0;
}
