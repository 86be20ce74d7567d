#pragma once
// Standard dialogs that are not part of the main window's form.
#include <optional>
#include <string>

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // An open-file dialog whose one filter shows only files named `fileName`.
  // Returns the chosen full path, or nothing when the user cancels.
  virtual std::optional<std::string> ChooseFile(const std::string& initialFolder,
                                                const std::string& fileName) = 0;
};
