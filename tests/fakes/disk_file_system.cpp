#include "fakes/disk_file_system.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

std::string DiskFileSystem::HostPath(const std::string& path) {
  std::string host = path;
  for (char& c : host)
    if (c == '\\') c = '/';
  return host;
}

FileContent DiskFileSystem::ReadFile(const std::string& path) {
  const std::string host = HostPath(path);
  std::error_code ec;
  if (!fs::exists(host, ec)) return {ReadStatus::Missing, {}};
  if (unreadable.count(path)) return {ReadStatus::Failed, {}};
  std::ifstream in(host, std::ios::binary);
  if (!in) return {ReadStatus::Failed, {}};
  return {ReadStatus::Ok, std::string(std::istreambuf_iterator<char>(in), {})};
}

bool DiskFileSystem::WriteNewFile(const std::string& path, std::string_view bytes) {
  std::ofstream out(HostPath(path), std::ios::binary | std::ios::trunc);
  if (!out) return false;
  if (diskFull) {
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size() / 2));  // what fits
    return false;
  }
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.flush();
  return static_cast<bool>(out);
}

bool DiskFileSystem::ReplaceFile(const std::string& from, const std::string& to) {
  std::error_code ec;
  const std::string target = HostPath(to);
  if (fs::exists(target, ec) &&
      (fs::status(target, ec).permissions() & fs::perms::owner_write) == fs::perms::none)
    return false;  // Windows refuses to replace a read-only file
  fs::rename(HostPath(from), target, ec);
  return !ec;
}

bool DiskFileSystem::RemoveFile(const std::string& path) {
  std::error_code ec;
  return fs::remove(HostPath(path), ec);
}

bool DiskFileSystem::FileExists(const std::string& path) {
  std::error_code ec;
  return fs::exists(HostPath(path), ec);
}
