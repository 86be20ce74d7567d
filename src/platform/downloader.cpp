#include "platform/downloader.h"

std::string DownloadBody(Downloader& downloader, const std::string& url) {
  DownloadAnswer answer = downloader.Get(url, kDownloadLimit);
  if (answer.status < 200 || answer.status > 299 || answer.cutOff) return {};
  return std::move(answer.body);
}
