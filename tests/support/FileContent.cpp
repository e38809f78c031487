#include "tests/support/FileContent.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

std::string ReadWholeFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
}

void WriteWholeFile(const std::string& path, const std::string& content)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << content;
    EXPECT_TRUE(file.good()) << "cannot write " << path;
}
