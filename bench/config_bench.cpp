// Prints how long loading and saving a config.ini of 10,000 nodes takes,
// through the same code the program runs, on the real disk.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "config/configuration.h"
#include "config/node_list.h"
#include "fakes/fake_platform.h"

namespace {

double Milliseconds(std::chrono::steady_clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

}  // namespace

int main() {
  constexpr int kNodes = 10000;
  TestApp t;
  std::string file = "[BasisConfig]\r\nFile=C:\\brook\\brook.exe\r\n[NodeList]\r\nNum=" +
                     std::to_string(kNodes) + "\r\nSelect node=5000\r\n[Node]\r\n";
  for (int i = 1; i <= kNodes; ++i)
    file += "Node" + std::to_string(i) + "=10.0." + std::to_string(i / 256) + "." +
            std::to_string(i % 256) + " 9999 password" + std::to_string(i) + " 1 remark" +
            std::to_string(i) + "\r\n";
  t.WriteConfig(file);

  auto start = std::chrono::steady_clock::now();
  LoadConfiguration(t.app);
  auto loaded = std::chrono::steady_clock::now();
  SaveNodeList(t.app);
  auto saved = std::chrono::steady_clock::now();

  std::printf("nodes: %d (config.ini %zu bytes)\n", t.form.RowCount(Ctl::超级列表框_服务器列表), file.size());
  std::printf("LoadConfiguration: %.2f ms\n", Milliseconds(loaded - start));
  std::printf("SaveNodeList:      %.2f ms\n", Milliseconds(saved - loaded));
  return 0;
}
