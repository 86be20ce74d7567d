#include "system/pac_http.h"

#include <optional>

#include "shared/gbk_text.h"
#include "system/pac_script.h"

namespace {

std::string Response(std::string_view status, std::string_view contentType, std::string_view body,
                     std::string_view extraHeaders = {}) {
  std::string response = "HTTP/1.1 ";
  response.append(status);
  response.append("\r\nContent-Type: ");
  response.append(contentType);
  response.append("\r\nContent-Length: ");
  response.append(std::to_string(body.size()));
  response.append("\r\nCache-Control: no-store\r\nX-Content-Type-Options: nosniff\r\nConnection: close\r\n");
  response.append(extraHeaders);
  response.append("\r\n");
  response.append(body);
  return response;
}

std::string Plain(std::string_view status, std::string_view extraHeaders = {}) {
  return Response(status, "text/plain", std::string(status) + "\n", extraHeaders);
}

std::string_view WithoutLineEnd(std::string_view line) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return line;
}

std::string_view TrimmedBlanks(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

// The value of the one Host header; nothing when there is none or more than one.
std::optional<std::string_view> HostHeader(std::string_view head) {
  std::optional<std::string_view> host;
  int seen = 0;
  for (std::size_t start = head.find('\n'); start != std::string_view::npos;) {
    const std::size_t end = head.find('\n', start + 1);
    const std::string_view line = WithoutLineEnd(head.substr(start + 1, end == head.npos ? head.npos : end - start - 1));
    start = end;
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos || gbk::AsciiLower(line.substr(0, colon)) != "host") continue;
    host = TrimmedBlanks(line.substr(colon + 1));
    ++seen;
  }
  if (seen != 1) return std::nullopt;
  return host;
}

bool ServerNamedByHost(std::string_view head, int port) {
  const auto host = HostHeader(head);
  if (!host || port <= 0) return false;
  const std::string lower = gbk::AsciiLower(*host);
  std::string portText = ":";
  portText += std::to_string(port);
  if (!lower.ends_with(portText)) return false;
  const std::string_view name = std::string_view(lower).substr(0, lower.size() - portText.size());
  return name == "127.0.0.1" || name == "localhost";
}

}  // namespace

std::string PacHttpResponse(std::string_view request, const PacServing& serving,
                            const std::function<FileContent()>& readPac) {
  const std::string_view line = WithoutLineEnd(request.substr(0, request.find('\n')));
  const std::size_t firstBlank = line.find(' ');
  const std::size_t secondBlank = line.find(' ', firstBlank == line.npos ? line.npos : firstBlank + 1);
  if (firstBlank == line.npos || secondBlank == line.npos ||
      line.substr(secondBlank + 1).substr(0, 5) != "HTTP/")
    return Plain("400 Bad Request");
  if (!ServerNamedByHost(request, serving.port)) return Plain("403 Forbidden");

  const std::string_view method = line.substr(0, firstBlank);
  const std::string_view target = line.substr(firstBlank + 1, secondBlank - firstBlank - 1);
  if (method != "GET") return Plain("405 Method Not Allowed", "Allow: GET\r\n");
  if (serving.token.empty() || target.substr(0, target.find('?')) != "/" + serving.token + "/pac")
    return Plain("404 Not Found");

  const FileContent pac = readPac();
  switch (pac.status) {
    case ReadStatus::Ok:
      // An empty or broken file would be taken as "no proxy" for hours.
      if (!DefinesFindProxyForUrl(pac.bytes)) return Plain("404 Not Found");
      return Response("200 OK", "application/x-ns-proxy-autoconfig; charset=" + std::string(PacScriptCharset(pac.bytes)),
                      pac.bytes);
    case ReadStatus::Missing: return Plain("404 Not Found");
    case ReadStatus::Failed: break;
  }
  return Plain("503 Service Unavailable");
}
