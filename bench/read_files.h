// The benchmark programs' inputs: every file named on the command line, read whole into
// memory before anything is timed.
#pragma once

#include <fstream>
#include <string>
#include <vector>

inline std::vector<std::string> ReadFiles(int argc, char** argv)
{
    std::vector<std::string> inputs;
    for (int i = 1; i < argc; ++i) {
        std::ifstream in(argv[i], std::ios::binary | std::ios::ate);
        std::string data(static_cast<std::size_t>(in.tellg()), '\0');
        in.seekg(0);
        in.read(data.data(), static_cast<std::streamsize>(data.size()));
        inputs.push_back(std::move(data));
    }
    return inputs;
}
