#pragma once
// One HTTP(S) GET of a whole body.
#include <string>

class Downloader {
 public:
  virtual ~Downloader() = default;
  // The body bytes whatever the response status (an error page counts as
  // content); empty when nothing could be fetched.
  virtual std::string Download(const std::string& url) = 0;
};
