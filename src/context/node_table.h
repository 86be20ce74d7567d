#pragma once
// The nodes behind the rows of 超级列表框_服务器列表: entry i is row i.
#include <string>
#include <vector>

struct NodeTable {
  std::vector<std::string> lines;  // one Node line per row
  int current = -1;                // the row the edit controls show; -1 none
  bool importing = false;          // share links are being added
};
