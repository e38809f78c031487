// strdbc SOURCE OUTPUT: compiles a readable string source (UTF-8 "Key = Text" lines) into
// a binary string database. Reports every bad line as SOURCE:LINE: error: MESSAGE and exits
// with 1, leaving no output file; exits with 2 on wrong usage.
#include "tools/strdbc/StringDatabaseWriter.h"
#include "tools/strdbc/StringSource.h"

#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>

namespace
{
bool ReadWholeFile(const char* path, std::string& content)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    std::ostringstream buffer;
    buffer << file.rdbuf();
    content = buffer.str();
    return !file.bad();
}

bool WriteWholeFile(const char* path, const std::string& content)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(content.data(), std::streamsize(content.size()));
    file.close();
    return !file.fail();
}
} // namespace

int main(int argc, char** argv)
{
    if (argc != 3)
    {
        std::cerr << "usage: strdbc SOURCE OUTPUT\n";
        return 2;
    }
    const char* sourcePath = argv[1];
    const char* outputPath = argv[2];
    std::remove(outputPath);

    std::string content;
    if (!ReadWholeFile(sourcePath, content))
    {
        std::cerr << sourcePath << ": error: cannot read the file\n";
        return 1;
    }

    const StringSource source = ParseStringSource(content);
    for (const StringSourceError& error : source.errors)
        std::cerr << sourcePath << ":" << error.line << ": error: " << error.message << "\n";
    if (!source.errors.empty())
        return 1;

    std::string database;
    std::string error;
    if (!EncodeStringDatabase(source.entries, database, error))
    {
        std::cerr << sourcePath << ": error: " << error << "\n";
        return 1;
    }
    if (!WriteWholeFile(outputPath, database))
    {
        std::cerr << outputPath << ": error: cannot write the file\n";
        std::remove(outputPath);
        return 1;
    }
    return 0;
}
