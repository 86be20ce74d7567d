#pragma once
// One HTTP(S) GET of a whole body.
#include <cstddef>
#include <cstdint>
#include <string>

struct DownloadAnswer {
  int status = 0;        // the HTTP status; 0 when no answer came
  std::string body;      // at most the limit that was asked for
  bool cutOff = false;   // the body went on past the limit
  bool readFailed = false;         // a read of the body failed (time-out, reset)
  std::int64_t declaredLength = -1;  // the answer's Content-Length; -1 when it names none
};

// True when the body is all the server sent: no read failed, and no fewer
// bytes came than the answer announced. A connection dropped half-way ends
// the data the same way the end of the body does.
bool BodyIsWhole(const DownloadAnswer& answer);

class Downloader {
 public:
  virtual ~Downloader() = default;
  // Reads at most `limit` bytes of the body and stops there, so no answer,
  // however long, can take more memory than that.
  virtual DownloadAnswer Get(const std::string& url, std::size_t limit) = 0;
};

// Templates and version files are a few kilobytes; an answer beyond this is
// none of them.
inline constexpr std::size_t kDownloadLimit = 4u << 20;

// The body of a whole answer with a 2xx status; empty for anything else: no
// answer, an error page, a captive portal's redirect, a body past the limit,
// a body cut short.
std::string DownloadBody(Downloader& downloader, const std::string& url);
