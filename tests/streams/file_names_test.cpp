// Full names of files named from the working folder.
#include <gtest/gtest.h>

#include <filesystem>

#include "streams/file_names.h"
#include "streams/wide_names.h"

namespace pellimar {
namespace {

namespace fs = std::filesystem;

TEST(FullName, StandsForTheSameFileFromAnyFolder)
{
    const fs::path here = fs::current_path();
    const fs::path elsewhere = here.root_path() / "books" / "book.fff";
    const std::pair<std::string, fs::path> cases[] = {
        {"book.fff", here / "book.fff"},
        {"./book.fff", here / "book.fff"},
        {"sub/./book.fff", here / "sub" / "book.fff"},
        {NameOfPath(elsewhere), elsewhere},
        // After a symbolic link, ".." leads to the parent of its target:
        // only Windows takes it out by the spelling.
#ifdef _WIN32
        {"sub/../book.fff", here / "book.fff"},
        {"\\\\server\\share\\book.fff", L"\\\\server\\share\\book.fff"},
#else
        {"sub/../book.fff", here / "sub" / ".." / "book.fff"},
#endif
    };
    for (const auto& [name, full] : cases)
        EXPECT_EQ(FullName(name), NameOfPath(full)) << name;
}

}  // namespace
}  // namespace pellimar
