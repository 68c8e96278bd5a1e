#include "tests/scratch_dir.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <random>

namespace fs = std::filesystem;

ScratchDir::ScratchDir() : previous_(fs::current_path()) {
    std::random_device random;
    for (;;) {
        dir_ = fs::temp_directory_path() / ("quillbee-test-" + std::to_string(random()));
        if (fs::create_directory(dir_)) break;
    }
    fs::current_path(dir_);
}

ScratchDir::~ScratchDir() {
    std::error_code ignored;
    fs::current_path(previous_, ignored);
    fs::remove_all(dir_, ignored);
}

std::string ReadFileBytes(const char* name) {
    std::ifstream in(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const char* name, const std::string& bytes) {
    std::ofstream out(name, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

bool FileExists(const char* name) {
    std::error_code ignored;
    return fs::exists(name, ignored);
}
