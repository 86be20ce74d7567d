#pragma once
// Whether the machine can reach the Internet at all.
class ConnectivityCheck {
 public:
  virtual ~ConnectivityCheck() = default;
  // True when the system reports a connection and the probe page opens.
  virtual bool Online() = 0;
};
