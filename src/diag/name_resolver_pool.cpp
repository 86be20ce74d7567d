#include "diag/name_resolver_pool.h"

#include <thread>

NameResolverPool::NameResolverPool(TcpConnects& tcp) : tcp_(tcp) {}

NameResolverPool::~NameResolverPool() {
  std::lock_guard lock(shared_->mutex);
  shared_->closed = true;
  shared_->questions.clear();
}

void NameResolverPool::Add(int index, std::string host, std::uint16_t port) {
  ++asked_;
  std::lock_guard lock(shared_->mutex);
  shared_->questions.push_back({index, std::move(host), port});
  if (shared_->threads >= kMaxResolverThreads) return;
  try {
    std::thread(Serve, shared_, &tcp_).detach();
    ++shared_->threads;
  } catch (...) {
    // No thread to be had: those running take the question; with none
    // running at all, the name counts as not resolving.
    if (shared_->threads == 0) {
      shared_->questions.pop_back();
      shared_->answers.push_back({index, std::nullopt});
    }
  }
}

void NameResolverPool::Serve(std::shared_ptr<Shared> shared, TcpConnects* tcp) {
  std::unique_lock lock(shared->mutex);
  while (!shared->closed && !shared->questions.empty()) {
    Question question = std::move(shared->questions.front());
    shared->questions.pop_front();
    lock.unlock();
    std::optional<TcpEndpoint> endpoint;
    try {
      endpoint = tcp->Resolve(question.host, question.port);
    } catch (...) {
    }
    lock.lock();
    if (shared->closed) break;
    shared->answers.push_back({question.index, endpoint});
    shared->answered.notify_all();
  }
  --shared->threads;
}

std::vector<std::pair<int, std::optional<TcpEndpoint>>> NameResolverPool::TakeAnswers(int waitMs) {
  std::unique_lock lock(shared_->mutex);
  if (shared_->answers.empty() && waitMs > 0)
    shared_->answered.wait_for(lock, std::chrono::milliseconds(waitMs));
  auto answers = std::move(shared_->answers);
  shared_->answers.clear();
  taken_ += static_cast<int>(answers.size());
  return answers;
}

bool NameResolverPool::Busy() const { return taken_ < asked_; }
