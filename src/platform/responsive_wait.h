#pragma once
// Waiting on the window's thread without freezing the window.
class ResponsiveWait {
 public:
  virtual ~ResponsiveWait() = default;
  // Handles the window's messages until `milliseconds` have passed. Returns
  // false early when the program was asked to end meanwhile (its message
  // loop will end it): the caller should then give up what it was doing.
  virtual bool Wait(unsigned milliseconds) = 0;
};
