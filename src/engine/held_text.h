// Bytes held back while a page-number marker is being matched, to be written
// or dropped once the attempt is decided. A marker's run of digits can go on
// without end in a damaged or hostile file, so past a limit the bytes wait
// in a temporary file instead of in memory.
#pragma once

#include <cstddef>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

namespace pellimar {

class TS_TextStream;

class HeldText {
public:
    static constexpr std::size_t kDefaultMemoryLimit = 1 << 20;

    explicit HeldText(std::size_t memoryLimit = kDefaultMemoryLimit) : memoryLimit_(memoryLimit) {}

    void Clear();
    // Raises "Stream write error" when the temporary file cannot take them.
    void Append(std::string_view bytes);
    void Append(char byte) { Append(std::string_view(&byte, 1)); }
    bool Empty() const { return size_ == 0; }
    std::size_t Size() const { return size_; }

    // All of it, in order.
    void WriteTo(TS_TextStream& output);

private:
    struct CloseFile {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };

    std::size_t memoryLimit_;
    std::string memory_;
    std::unique_ptr<std::FILE, CloseFile> spill_;
    std::size_t size_ = 0;
};

}  // namespace pellimar
