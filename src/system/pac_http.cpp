#include "system/pac_http.h"

namespace {

std::string Response(std::string_view status, std::string_view contentType, std::string_view body,
                     std::string_view extraHeaders = {}) {
  std::string response = "HTTP/1.1 ";
  response.append(status);
  response.append("\r\nContent-Type: ");
  response.append(contentType);
  response.append("\r\nContent-Length: ");
  response.append(std::to_string(body.size()));
  response.append("\r\nCache-Control: no-store\r\nConnection: close\r\n");
  response.append(extraHeaders);
  response.append("\r\n");
  response.append(body);
  return response;
}

std::string Plain(std::string_view status, std::string_view extraHeaders = {}) {
  return Response(status, "text/plain", std::string(status) + "\n", extraHeaders);
}

}  // namespace

std::string PacHttpResponse(std::string_view request, const std::function<FileContent()>& readPac) {
  std::string_view line = request.substr(0, request.find('\n'));
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);

  const std::size_t firstBlank = line.find(' ');
  const std::size_t secondBlank = line.find(' ', firstBlank == line.npos ? line.npos : firstBlank + 1);
  if (firstBlank == line.npos || secondBlank == line.npos ||
      line.substr(secondBlank + 1).substr(0, 5) != "HTTP/")
    return Plain("400 Bad Request");

  const std::string_view method = line.substr(0, firstBlank);
  const std::string_view target = line.substr(firstBlank + 1, secondBlank - firstBlank - 1);
  if (method != "GET") return Plain("405 Method Not Allowed", "Allow: GET\r\n");
  if (target.substr(0, target.find('?')) != "/pac") return Plain("404 Not Found");

  const FileContent pac = readPac();
  switch (pac.status) {
    case ReadStatus::Ok: return Response("200 OK", "application/x-ns-proxy-autoconfig", pac.bytes);
    case ReadStatus::Missing: return Plain("404 Not Found");
    case ReadStatus::Failed: break;
  }
  return Plain("503 Service Unavailable");
}
