#pragma once
// 选择框_开机启动: the machine-wide Run value "Corvane" that starts the
// program at every user's logon, and BasisConfig/Run recording the choice.
#include <string>

struct AppContext;

// The running program's full path in double quotes, without arguments.
std::string QuotedProgramPath(AppContext& app);

// Bound to the box's click; reads the box's new state. Whether the change
// took is judged by looking for the value afterwards, so a missing right
// ends in a refusal, the box back as it was and config.ini untouched.
void SetStartAtLogon(AppContext& app);
