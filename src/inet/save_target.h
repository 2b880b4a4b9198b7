// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace lt {

// What stands at a chosen target path.
enum class SaveTargetState { Free, Exists, WriteProtected };

// Looks at `path` without following a final symbolic link (a link, even a dangling one, exists).
SaveTargetState CheckSaveTarget(const std::string& path);

// The path itself when nothing stands there, else the first free numbered name ("%s_%03d%s" for 1
// to 999, then "%s%d%s" up to 99999, an extension shorter than 7 characters kept at the end);
// empty when none is free. Only a proposal: the file is made later, exclusively.
std::string FreeSaveName(const std::string& path);

// The directory part of a target path (before its last "/"); "/" for a file in the root.
std::string TargetDirectory(const std::string& path);

// The message texts of the target checks.
std::string WriteProtectedText(const std::string& path);   // "%s\r\nis write protected !"
std::string OverwriteQuestionText(const std::string& path); // "%s\r\nalready exists !  Overwrite file ?"
std::string CannotCreateFileText(const std::string& path);  // "Can not create/open file\r\n%s !"
std::string CannotCreateDirectoryText(const std::string& path);

} // namespace lt
