#pragma once
// A Node line: address, port, password, protocol index and remark joined by
// single spaces, as config.ini stores one server.
#include <string>
#include <string_view>
#include <vector>

struct NodeFields {
  std::string address;
  std::string port;
  std::string password;
  int protocol = 0;  // 0 " Brook", 1 " Brook Stream", 2 " VPN"
  std::string remark;
};

// Cuts at every single space; an empty piece between two spaces is a field,
// the rest after the last space only when it is not empty. So an empty
// remark gives four fields and a space inside a field gives more than five.
std::vector<std::string> SplitNodeLine(std::string_view line);

// The fields as the editor shows them: the remark only when the line has
// exactly five fields. A damaged line with fewer than four fields reads its
// missing fields as empty (protocol 0).
NodeFields NodeFromLine(std::string_view line);

std::string RemoveSpaces(std::string_view text);
// Spaces are taken out of the remark; the other fields go in unchanged.
std::string BuildNodeLine(const NodeFields& node);

// The row caption of a node built from the editor.
std::string CaptionForEdited(const NodeFields& node);
// The row caption of a line loaded from the file.
std::string CaptionForLoaded(std::string_view line);
