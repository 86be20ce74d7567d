// Prints how long importing 10,000 share links from the clipboard takes:
// every link becomes a node, and config.ini is written once after the last,
// through the same code the program runs, on the real disk.
#include <chrono>
#include <cstdio>
#include <string>

#include "config/node_list.h"
#include "fakes/fake_platform.h"
#include "links/share_links.h"

int main() {
  constexpr int kLinks = 10000;
  TestApp t;
  t.WriteConfig("[BasisConfig]\r\nFile=C:\\brook\\brook.exe\r\n[NodeList]\r\nNum=1\r\n[Node]\r\nNode1=a 1 p 0 \r\n");
  t.Load();

  std::string clipboard;
  for (int i = 1; i <= kLinks; ++i)
    clipboard += "brook://stream%2010.0." + std::to_string(i / 256) + "." + std::to_string(i % 256) +
                 "%3A9999%20password" + std::to_string(i) + "\r\n";
  t.diag.clipboard.text = clipboard;

  const auto start = std::chrono::steady_clock::now();
  ImportShareLinks(t.app);
  const auto done = std::chrono::steady_clock::now();

  const double ms = std::chrono::duration<double, std::milli>(done - start).count();
  std::printf("links imported: %zu of %d (clipboard %zu bytes, config.ini %zu bytes)\n",
              t.app.nodes.lines.size() - 1, kLinks, clipboard.size(), t.ConfigText().size());
  std::printf("ImportShareLinks: %.1f ms (%.3f ms per link)\n", ms, ms / kLinks);
  return 0;
}
