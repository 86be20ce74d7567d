#pragma once
// A whole new content for a file, put in place so that it lands or says why.
// The content goes to "<file>.new" first and then replaces the file in one
// step, so a crash or a full disk leaves the old file or the new one. A file
// another program holds open (antivirus, backup and sync tools, an editor)
// cannot be replaced; it is then written in place as Windows' own profile
// writer does, and the temporary copy goes only once that write is on disk.
#include <string>
#include <string_view>

#include "platform/file_system.h"

std::string TemporaryCopyPath(const std::string& path);

// `patient`: a file held without write sharing is tried again for under a
// second in all; otherwise every step is tried once.
FileResult SafeFileWrite(FileSystem& files, const std::string& path, std::string_view bytes, bool patient);
