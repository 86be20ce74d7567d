// Prints how long making the PAC file from a 2 MB template takes: the
// placeholder replacement alone, and GeneratePacFile with its disk reads and
// writes. The template is shaped like the usual rule-list PAC scripts: a
// long list of domains with the placeholders in the functions around it,
// plus one per rule in its second half.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "fakes/fake_platform.h"
#include "system/pac_file.h"
#include "system/pac_template.h"

namespace {

double Milliseconds(std::chrono::steady_clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

std::string MakeTemplate(std::size_t size) {
  std::string text =
      "var proxy = \"__PROXY__\";\nvar direct = \"__DIRECT__\";\n"
      "function FindProxyForURL(url, host) {\n  return rules[host] ? proxy : direct;\n}\nvar rules = {\n";
  for (int i = 0; text.size() < size / 2; ++i) text += "  \"host" + std::to_string(i) + ".example.net\": 1,\n";
  for (int i = 0; text.size() < size; ++i)
    text += "  if (shExpMatch(host, \"*.site" + std::to_string(i) + ".example.org\")) return \"__PROXY__\";\n";
  return text + "};\n";
}

template <typename Work>
double MedianMs(int runs, Work work) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    const auto start = std::chrono::steady_clock::now();
    work();
    times.push_back(Milliseconds(std::chrono::steady_clock::now() - start));
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

}  // namespace

int main() {
  const std::string pacTemplate = MakeTemplate(2 * 1024 * 1024);
  const std::string entry = PacProxyEntry("HTTP", "2080");
  std::size_t outputSize = 0;
  const double fill = MedianMs(21, [&] { outputSize = FillPacTemplate(pacTemplate, entry).size(); });

  TestApp t;
  t.Load();
  t.app.engineDirectory = t.folder.Path() + "\\";
  t.folder.Write("pac.txt", pacTemplate);
  const double generate = MedianMs(21, [&] { GeneratePacFile(t.app); });

  std::printf("template: %zu bytes, PAC file: %zu bytes\n", pacTemplate.size(), outputSize);
  std::printf("FillPacTemplate: %.2f ms (median of 21)\n", fill);
  std::printf("GeneratePacFile: %.2f ms (median of 21, with the disk)\n", generate);
  return 0;
}
