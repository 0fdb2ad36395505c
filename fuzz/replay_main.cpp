// Runs a fuzz target over files instead of generated inputs, for builds
// without libFuzzer: every file named, and every file in a folder named.
// Used by CTest to keep the seeds and the inputs of fixed failures passing.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

namespace fs = std::filesystem;

std::vector<fs::path> InputFiles(int argc, char** argv)
{
    std::vector<fs::path> files;
    for (int i = 1; i < argc; ++i) {
        if (fs::is_directory(argv[i])) {
            for (const auto& entry : fs::directory_iterator(argv[i])) {
                if (entry.is_regular_file())
                    files.push_back(entry.path());
            }
        } else {
            files.emplace_back(argv[i]);
        }
    }
    return files;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::vector<fs::path> files = InputFiles(argc, argv);
    for (const fs::path& file : files) {
        std::ifstream in(file, std::ios::binary);
        if (!in) {
            std::fprintf(stderr, "cannot read %s\n", file.c_str());
            return 1;
        }
        const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        std::fprintf(stderr, "replaying %s\n", file.c_str());
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    }
    std::printf("%zu inputs replayed, no invariant broken\n", files.size());
    return files.empty() ? 1 : 0;
}
