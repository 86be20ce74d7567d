#include "platform/downloader.h"

bool BodyIsWhole(const DownloadAnswer& answer) {
  if (answer.readFailed) return false;
  return answer.declaredLength < 0 || answer.body.size() >= static_cast<std::uint64_t>(answer.declaredLength);
}

std::string DownloadBody(Downloader& downloader, const std::string& url) {
  DownloadAnswer answer = downloader.Get(url, kDownloadLimit);
  if (answer.status < 200 || answer.status > 299 || answer.cutOff || !BodyIsWhole(answer)) return {};
  return std::move(answer.body);
}
