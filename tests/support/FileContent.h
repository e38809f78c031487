#pragma once

#include <string>

// The whole content of a file, byte for byte; "" when it cannot be read.
std::string ReadWholeFile(const std::string& path);
// Replaces a file's content byte for byte; reports a test failure when it cannot.
void WriteWholeFile(const std::string& path, const std::string& content);
