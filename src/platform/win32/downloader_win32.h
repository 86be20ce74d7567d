#pragma once
// HTTP and HTTPS downloads through WinINet, with the system's proxy settings.
#include "platform/downloader.h"

class Win32Downloader final : public Downloader {
 public:
  std::string Download(const std::string& url) override;
};
