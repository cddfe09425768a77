#pragma once
// File facts and whole-file reads and writes. Writes are atomic: the new content goes to a
// temporary file in the same folder, is flushed to disk, and is renamed over the target, so a
// failure never leaves a half-written file and the old file survives it.

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>

namespace tovin {

bool FileExists(const std::string& path);
bool IsDirectoryPath(const std::string& path);
// True when the file exists and this user may not write it, or its mode grants no one write
// permission (so a file kept read-only stays so for root as well).
bool IsReadOnlyFile(const std::string& path);
// Modification time, or nullopt when the file's status cannot be read.
std::optional<std::time_t> ModificationTime(const std::string& path);
// Status-change time formatted as by ctime(), trailing white space removed; empty on failure.
std::string StatusChangeTimeText(const std::string& path);

// Whole content of a file, or nullopt with the system's reason in *error.
std::optional<std::string> ReadWholeFile(const std::string& path, std::string* error = nullptr);

// Writes bytes atomically. Returns an empty string on success, else the system's reason.
// The file keeps the permission bits of the file it replaces (0644 for a new file, less umask).
std::string WriteFileAtomic(const std::string& path, const std::string& bytes);

// The system's text for an errno value.
std::string SystemErrorText(int error);

// Makes the folder the process's current folder; false when it cannot.
bool SetCurrentFolder(const std::string& folder);
std::string CurrentFolder();

} // namespace tovin
