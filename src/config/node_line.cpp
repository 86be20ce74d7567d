#include "config/node_line.h"

#include <algorithm>

#include "config/value_codec.h"

std::vector<std::string> SplitNodeLine(std::string_view line) {
  std::vector<std::string> fields;
  std::size_t space;
  while ((space = line.find(' ')) != std::string_view::npos) {
    fields.emplace_back(line.substr(0, space));
    line.remove_prefix(space + 1);
  }
  if (!line.empty()) fields.emplace_back(line);
  return fields;
}

namespace {
std::string FieldOrEmpty(const std::vector<std::string>& fields, std::size_t i) {
  return i < fields.size() ? fields[i] : std::string();
}
}  // namespace

NodeFields NodeFromLine(std::string_view line) {
  auto fields = SplitNodeLine(line);
  NodeFields node;
  node.address = FieldOrEmpty(fields, 0);
  node.port = FieldOrEmpty(fields, 1);
  node.password = FieldOrEmpty(fields, 2);
  node.protocol = ReadInteger(FieldOrEmpty(fields, 3));
  if (fields.size() == 5) node.remark = fields[4];
  return node;
}

std::string RemoveSpaces(std::string_view text) {
  std::string out(text);
  std::erase(out, ' ');
  return out;
}

std::string BuildNodeLine(const NodeFields& node) {
  return node.address + " " + node.port + " " + node.password + " " +
         std::to_string(node.protocol) + " " + RemoveSpaces(node.remark);
}

std::string CaptionForEdited(const NodeFields& node) {
  const std::string hostPort = node.address + ":" + node.port;
  if (node.remark.empty()) return hostPort;
  return RemoveSpaces(node.remark) + "(" + hostPort + ")";
}

std::string CaptionForLoaded(std::string_view line) {
  auto fields = SplitNodeLine(line);
  const std::string hostPort = FieldOrEmpty(fields, 0) + ":" + FieldOrEmpty(fields, 1);
  if (fields.size() == 5 && !fields[4].empty()) return fields[4] + "(" + hostPort + ")";
  return hostPort;
}
