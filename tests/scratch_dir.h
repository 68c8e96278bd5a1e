// A fresh, empty working directory for a test; the previous one is restored
// and the scratch directory removed afterwards.
#pragma once

#include <filesystem>
#include <string>

class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

private:
    std::filesystem::path previous_, dir_;
};

// Whole-file helpers for tests, in binary mode.
std::string ReadFileBytes(const char* name);
void WriteFileBytes(const char* name, const std::string& bytes);
bool FileExists(const char* name);
