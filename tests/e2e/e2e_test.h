#pragma once
// Base of the end-to-end tests: each test gets a fresh folder named after it,
// with its own copy of corvane.exe.
#include <gtest/gtest.h>

#include <string>

#include "driver/corvane_window.h"
#include "driver/ini_text.h"
#include "driver/loopback_traffic.h"
#include "driver/message_boxes.h"
#include "driver/polling.h"
#include "driver/program_run.h"
#include "driver/test_folder.h"
#include "driver/windows.h"

namespace e2e {

inline std::string CurrentTestName() {
  const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
  return std::string(info->test_suite_name()) + "." + info->name();
}

class E2eTest : public testing::Test {
 protected:
  std::string Config() const { return folder.Read("config.ini").value_or(""); }

  // A configuration whose saved node can really be started: the stand-in
  // engine beside the program, direct mode (the system proxy is left alone)
  // and a local port of this driver's own, free of other runs.
  void WriteRunnableConfig() const {
    const std::string engine = folder.InstallEngine();
    folder.Write("config.ini", "[BasisConfig]\r\nFile=" + engine + "\r\nLocal port=" + LocalPort() +
                                   "\r\nProxy Mode=0\r\n"
                                   "[NodeList]\r\nNum=1\r\nSelect node=0\r\n"
                                   "[Node]\r\nNode1=127.0.0.1 9001 secret 0 stand-in\r\n");
  }
  static std::string LocalPort() {
    static const std::string port = std::to_string(FreeLoopbackPort());
    return port;
  }

  TestFolder folder{CurrentTestName()};
  const std::string exe = folder.InstallCorvane();
};

}  // namespace e2e
