#pragma once
// Servers and the files they edit: finding a class's server, the temporary files, starting it.
#include <cstdint>
#include <string>
#include <vector>

#include "Item.h"

namespace scrivoole {

// The class's server: its "Protocol\StdFileEditing\Server" entry, else its
// "shell\open\command"; empty when it has neither.
std::string serverCommand(const std::string& className);

// A command line split into arguments as desktop files write them (double quotes group,
// backslash escapes inside them), with the file put in place of %f, %F, %u, %U or %1, or added
// at the end when the command names no place for it. Other field codes are dropped.
std::vector<std::string> commandArguments(const std::string& command, const std::string& file);

// Starts the server on the file, through the host's launcher when it has given one.
bool startServer(const std::string& command, const std::string& file, const Item& item);

// A file name from a stored topic: no folders, no control characters; "Object" when nothing
// usable is left.
std::string safeFileName(const std::string& topic);

FileStamp fileStamp(const std::string& path);
// Reads a whole file of at most maxBytes; false when it is missing, a folder or too large.
bool readWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes, std::size_t maxBytes);
bool writeWholeFile(const std::string& path, const std::vector<std::uint8_t>& bytes);
// Collects servers that have ended, so that none lingers as a zombie process.
void reapServers();

}  // namespace scrivoole
