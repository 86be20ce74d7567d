#include "tray/tray_tip.h"

std::string StoppedTip(std::string_view runMode, std::string_view localPort) {
  std::string tip = "Corvane\r\n状态：[未运行]\r\n本地代理: ";
  tip += runMode;
  tip += " 127.0.0.1:";
  tip += localPort;
  return tip;
}
