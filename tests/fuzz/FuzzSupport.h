#pragma once

// Shared by the fuzz targets: a private scratch folder for the files the readers open, and a
// silenced std::cout and std::cerr so the load echo and the traces do not flood the run.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <streambuf>
#include <string>
#include <unistd.h>

namespace fuzzsupport {

class NullBuffer : public std::streambuf {
protected:
    int overflow(int c) override { return traits_type::not_eof(c); }
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

inline std::string& scratchFolder() {
    static std::string folder;
    return folder;
}

inline void removeScratch() {
    if (!scratchFolder().empty()) {
        const std::string command = "rm -rf '" + scratchFolder() + "'";
        if (std::system(command.c_str()) != 0) {
            std::fprintf(stderr, "cannot remove %s\n", scratchFolder().c_str());
        }
    }
}

// Called once per process: makes the scratch folder and silences std::cout, and std::cerr, where
// the readers count what they refuse.
inline void setUp() {
    static NullBuffer sink;
    std::cout.rdbuf(&sink);
    std::cerr.rdbuf(&sink);
    char pattern[] = "/tmp/bramblehoof-fuzz-XXXXXX";
    if (mkdtemp(pattern) == nullptr) {
        std::perror("mkdtemp");
        std::abort();
    }
    scratchFolder() = pattern;
    std::atexit(removeScratch);
}

inline std::string pathOf(const std::string& name) { return scratchFolder() + "/" + name; }

inline void writeBytes(const std::string& path, const uint8_t* data, size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    if (!out) {
        std::abort();
    }
}

inline std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A broken promise of the code under test: stop here so libFuzzer keeps the input.
inline void require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "violated: %s\n", what);
        std::abort();
    }
}

}  // namespace fuzzsupport
