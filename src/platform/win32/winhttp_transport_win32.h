#pragma once
// The HTTP client's transport on WinHTTP. Texts cross into WinHTTP as
// UTF-16 made from GBK with code page 936, and come back the same way.
#include "platform/http_transport.h"

class Win32HttpTransport final : public HttpTransport {
 public:
  bool PlatformSupported() override;
  std::optional<CrackedUrl> CrackUrl(const std::string& url) override;
  std::unique_ptr<HttpExchange> NewExchange() override;
};
