#include "fakes/fake_system_services.h"

#include <stdexcept>

#include "shared/gbk_text.h"

namespace {

std::string RootName(RegistryRoot root) { return root == RegistryRoot::LocalMachine ? "HKLM" : "HKCU"; }

}  // namespace

FakeRegistry::Name FakeRegistry::NameOf(RegistryRoot root, const std::string& key, const std::string& name) {
  return {root, gbk::AsciiLower(key), gbk::AsciiLower(name)};
}

bool FakeRegistry::Locked(RegistryRoot root, const std::string& key) const {
  for (const std::string& locked : lockedKeys)
    if (gbk::AsciiLower(locked) == gbk::AsciiLower(RootName(root) + "\\" + key)) return true;
  return false;
}

bool FakeRegistry::Set(RegistryRoot root, const std::string& key, const std::string& name, Value value) {
  if (Locked(root, key)) return false;
  values_[NameOf(root, key, name)] = std::move(value);
  return true;
}

bool FakeRegistry::SetString(RegistryRoot root, const std::string& key, const std::string& name,
                             std::string_view value) {
  return Set(root, key, name, {Type::String, std::string(value)});
}

bool FakeRegistry::SetNumber(RegistryRoot root, const std::string& key, const std::string& name,
                             std::uint32_t value) {
  return Set(root, key, name, {Type::Number, {}, value});
}

bool FakeRegistry::SetBinary(RegistryRoot root, const std::string& key, const std::string& name,
                             std::string_view bytes) {
  return Set(root, key, name, {Type::Binary, std::string(bytes)});
}

bool FakeRegistry::DeleteValue(RegistryRoot root, const std::string& key, const std::string& name) {
  if (Locked(root, key)) return false;
  values_.erase(NameOf(root, key, name));
  return true;
}

bool FakeRegistry::ValueExists(RegistryRoot root, const std::string& key, const std::string& name) {
  return values_.count(NameOf(root, key, name)) != 0;
}

std::optional<FakeRegistry::Value> FakeRegistry::Get(RegistryRoot root, const std::string& key,
                                                     const std::string& name) const {
  auto found = values_.find(NameOf(root, key, name));
  if (found == values_.end()) return std::nullopt;
  return found->second;
}

void FakeRegistry::Put(RegistryRoot root, const std::string& key, const std::string& name, Value value) {
  values_[NameOf(root, key, name)] = std::move(value);
}

DownloadAnswer FakeDownloader::Get(const std::string& url, std::size_t limit) {
  requested.push_back(url);
  if (throws.count(url)) throw std::runtime_error("download of " + url);
  DownloadAnswer answer;
  if (auto found = answers.find(url); found != answers.end()) answer = found->second;
  else if (auto body = bodies.find(url); body != bodies.end()) answer = {200, body->second};
  if (answer.body.size() > limit) {
    answer.body.resize(limit);
    answer.cutOff = true;
  }
  return answer;
}

int FakeLoopbackServer::Listen(Handler handler) {
  ++listenCalls;
  if (port <= 0) return 0;
  if (!handler_) handler_ = std::move(handler);
  return port;
}

void FakeWorkerThreads::RunAll() {
  while (!pending_.empty()) {
    auto work = std::move(pending_.front());
    pending_.erase(pending_.begin());
    work();
  }
}
