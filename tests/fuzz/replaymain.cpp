// Runs a fuzz target over every file of the folders (or the files) named on the command line, in name
// order, so that the corpora and the past crashes replay as an ordinary test without libFuzzer.
// A folder that does not exist holds nothing. Files named README* are notes, not inputs.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

std::vector<std::filesystem::path> Inputs(const std::filesystem::path& where)
{
    std::vector<std::filesystem::path> files;
    std::error_code ec;
    if (std::filesystem::is_regular_file(where, ec)) {
        files.push_back(where);
    } else if (std::filesystem::is_directory(where, ec)) {
        for (const auto& entry : std::filesystem::directory_iterator(where, ec))
            if (entry.is_regular_file(ec) && entry.path().filename().string().rfind("README", 0) != 0)
                files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::string ReadAll(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

} // namespace

int main(int argc, char** argv)
{
    std::size_t count = 0;
    for (int i = 1; i < argc; ++i) {
        for (const std::filesystem::path& file : Inputs(argv[i])) {
            // The input lives in a buffer of its own size, as libFuzzer hands it over, so that a read past
            // its end is caught under AddressSanitizer.
            const std::string bytes = ReadAll(file);
            const std::unique_ptr<std::uint8_t[]> input(new std::uint8_t[bytes.size()]);
            std::copy(bytes.begin(), bytes.end(), input.get());
            std::fprintf(stderr, "%s\n", file.c_str());
            LLVMFuzzerTestOneInput(input.get(), bytes.size());
            ++count;
        }
    }
    std::printf("replayed %zu inputs\n", count);
    return 0;
}
