#pragma once
// HTTP and HTTPS downloads through WinINet, with the system's proxy settings.
#include "platform/downloader.h"

class Win32Downloader final : public Downloader {
 public:
  DownloadAnswer Get(const std::string& url, std::size_t limit) override;
};
