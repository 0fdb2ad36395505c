// flatgen: writes a large flat file shaped like the bundled sample (three
// levels, multi-line headings, bracketed page numbers mid-line and at line
// ends, justification codes), deterministic from a seed.
//
//   flatgen SIZE_IN_MB SEED OUTPUT
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// A small generator whose sequence is the same on every platform.
class SplitMix64 {
public:
    explicit SplitMix64(std::uint64_t seed) : state_(seed) {}
    std::uint64_t Next()
    {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    unsigned Below(unsigned n) { return static_cast<unsigned>(Next() % n); }

private:
    std::uint64_t state_;
};

const char* const kWords[] = {
    "and", "the", "of", "unto", "LORD", "God", "earth", "heaven", "waters", "light", "day", "night", "man",
    "every", "thing", "that", "was", "good", "he", "said", "them", "which", "upon", "face", "land", "tree",
    "fruit", "seed", "after", "his", "kind", "blessed", "name", "river", "garden", "field", "beast", "fowl",
};
const char* const kBooks[] = {"Genesis", "Exodus", "Psalms", "Ecclesiastes", "Matthew", "John"};

class Writer {
public:
    Writer(std::FILE* out, std::uint64_t seed) : out_(out), random_(seed) {}

    std::uint64_t Written() const { return written_; }

    void Chapter(int book, int chapter)
    {
        if (chapter == 1) {
            if (book % 3 == 0)
                Put(std::string("<RD:Testament>The ") + (book % 6 == 0 ? "Old" : "New") + "\r\nTestament\r\n");
            Put(std::string("<RD:\"Book Name\">") + kBooks[book % 6] + "\r\n");
            Put("<RD><JU:CN><BD+>THE BOOK<BD->\r\n");
        }
        Put("<RD:Chapter>" + std::to_string(chapter) + "\r\n");
        Put("<RD><JU:CN><IT+>Chapter " + std::to_string(chapter) + "<IT->\r\n");
        const unsigned verses = 10 + random_.Below(30);
        for (unsigned verse = 1; verse <= verses; ++verse)
            Verse(verse);
    }

private:
    void Verse(unsigned number)
    {
        std::string line = "<RD><BD+>" + std::to_string(number) + "<BD-> ";
        const unsigned words = 8 + random_.Below(40);
        for (unsigned i = 0; i < words; ++i) {
            line += kWords[random_.Below(sizeof kWords / sizeof kWords[0])];
            if (i + 1 < words)
                line += random_.Below(12) == 0 ? ", " : " ";
            if (i == words / 2 && random_.Below(9) == 0)
                line += "[" + std::to_string(++page_) + "] ";
        }
        line += ".";
        if (random_.Below(9) == 0)
            line += "[" + std::to_string(++page_) + "]";
        Put(line + "\r\n");
    }

    void Put(const std::string& text)
    {
        std::fwrite(text.data(), 1, text.size(), out_);
        written_ += text.size();
    }

    std::FILE* out_;
    SplitMix64 random_;
    std::uint64_t written_ = 0;
    int page_ = 0;
};

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: flatgen SIZE_IN_MB SEED OUTPUT\n");
        return 2;
    }
    const std::uint64_t target = std::strtoull(argv[1], nullptr, 10) * 1024 * 1024;
    std::FILE* out = std::fopen(argv[3], "wb");
    if (out == nullptr) {
        std::perror(argv[3]);
        return 1;
    }
    Writer writer(out, std::strtoull(argv[2], nullptr, 10));
    std::fputs("<VI:Folio,FFF,3.1>\r\n", out);
    for (int book = 0; writer.Written() < target; ++book) {
        for (int chapter = 1; chapter <= 50 && writer.Written() < target; ++chapter)
            writer.Chapter(book, chapter);
    }
    if (std::fclose(out) != 0) {
        std::perror(argv[3]);
        return 1;
    }
    return 0;
}
