#pragma once
// The Windows services the program's behaviour uses, handed around together.
#include "platform/dialogs.h"
#include "platform/file_system.h"
#include "platform/process_list.h"
#include "platform/program_location.h"
#include "platform/single_instance.h"

struct Platform {
  FileSystem& files;
  ProgramLocation& location;
  Dialogs& dialogs;
  ProcessList& processes;
  SingleInstance& instance;
};
