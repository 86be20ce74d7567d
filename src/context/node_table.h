#pragma once
// The nodes behind the rows of 超级列表框_服务器列表: entry i is row i.
#include <string>
#include <vector>

struct NodeTable {
  std::vector<std::string> lines;  // one Node line per row
  int current = -1;                // the row the edit controls show; -1 none
  bool importing = false;          // share links are being added
  // The editor's fields (address, port, password, protocol, remark) as the
  // controls gave them back right after the node was shown: the user
  // changed a field when it no longer reads so.
  std::vector<std::string> shown;
};
