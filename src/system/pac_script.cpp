#include "system/pac_script.h"

#include "shared/utf8_text.h"

bool DefinesFindProxyForUrl(std::string_view script) {
  return script.find("FindProxyForURL") != std::string_view::npos;
}

std::string_view PacScriptCharset(std::string_view script) { return utf8::IsValid(script) ? "utf-8" : "gbk"; }
