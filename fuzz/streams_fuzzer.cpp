// Fuzz target: the buffered and text streams under random sequences of
// operations, each compared with the stream model: every result, every
// error, the position and the end test after each step, and the bytes the
// file or source holds at the end.
//
// Input: a mode byte (buffered stream over memory, text stream reading a
// file, text stream creating one; the top bit leaves a text stream to its
// destructor instead of closing it), the block size, how many bytes the
// memory source takes before it refuses, the initial bytes (two length
// bytes, then the bytes), then operations.
//
// With bit 0x40 of the mode byte the memory source misreports its size
// (the operations' bytes are then the errors, one signed byte each): a
// reader that loops until the end must get there, with every byte read once
// and in order, and with all of them whenever no answer was too small.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "block_size.h"
#include "check.h"
#include "fuzz_input.h"
#include "memory_source.h"
#include "scratch_dir.h"
#include "stream_model.h"
#include "streams/exceptions.h"
#include "streams/text_stream.h"

namespace pellimar::fuzz {
namespace {

constexpr int kMaxOperations = 64;

enum class Mode { Memory, ReadFile, CreateFile };

struct Outcome {
    std::string value;
    std::string error;
    bool operator==(const Outcome&) const = default;
};

std::string ShowOutcome(const Outcome& outcome)
{
    return outcome.error.empty() ? Show(outcome.value) : "raises " + outcome.error;
}

std::string ErrorName(const Exception& error)
{
    if (dynamic_cast<const EReadError*>(&error))
        return "EReadError";
    if (dynamic_cast<const EWriteError*>(&error))
        return "EWriteError";
    if (dynamic_cast<const EStreamError*>(&error))
        return "EStreamError";
    return "Exception";
}

std::string AsText(const std::string& bytes) { return bytes; }
std::string AsText(std::int64_t number) { return std::to_string(number); }
std::string AsText(bool flag) { return flag ? "true" : "false"; }

template <typename Operation>
Outcome Observe(Operation operation)
{
    try {
        if constexpr (std::is_void_v<decltype(operation())>) {
            operation();
            return {};
        } else {
            return {AsText(operation()), {}};
        }
    } catch (const Exception& error) {
        return {{}, ErrorName(error) + ": " + error.what()};
    }
}

// The stream under test next to its model, driven by the same operations.
class Harness {
public:
    Harness(Mode mode, const std::string& initial, std::int64_t writable, std::int64_t blockSize)
        : path_(ScratchFile("stream.txt")),
          model_(mode == Mode::CreateFile ? "" : initial, blockSize,
                 mode == Mode::Memory ? writable : mode == Mode::ReadFile ? 0 : INT64_MAX),
          blockSize_(blockSize)
    {
        if (mode == Mode::Memory) {
            memory_ = std::make_unique<MemorySource>(initial, writable);
            stream_ = std::make_unique<TS_BufferStream>(memory_.get(), static_cast<std::size_t>(blockSize));
            return;
        }
        WriteScratchFile(path_, initial);
        auto text = std::make_unique<TS_TextStream>(path_, mode == Mode::ReadFile ? fmOpenRead : fmCreate,
                                                   static_cast<std::size_t>(blockSize));
        text_ = text.get();
        stream_ = std::move(text);
    }

    void Run(FuzzInput& input)
    {
        const std::uint8_t operation = input.Byte();
        const std::string name =
            "operation " + std::to_string(operation % 19) + " (step " + std::to_string(++step_) + ")";
        const auto [expected, actual] = Apply(operation % 19, input);
        if (trace_)
            std::fprintf(stderr, "%s: %s, position %lld\n", name.c_str(), ShowOutcome(actual).c_str(),
                         static_cast<long long>(stream_->Position()));
        FUZZ_CHECK_EQ(ShowOutcome(expected), ShowOutcome(actual), name);
        FUZZ_CHECK_EQ(model_.Position(), stream_->Position(), "position after " + name);
        FUZZ_CHECK_EQ(model_.Eof(), stream_->Eof(), "end test after " + name);
    }

    // Destroying a text stream without closing it must still write what is
    // pending, as the buffered stream's teardown does.
    void Finish(bool close)
    {
        if (text_ != nullptr && close) {
            const Outcome expected = Observe([&] { model_.Close(); });
            const Outcome actual = Observe([&] { text_->Close(); });
            FUZZ_CHECK_EQ(ShowOutcome(expected), ShowOutcome(actual), "closing the text stream");
        }
        stream_.reset();
        model_.Destroy();
        const std::string held = memory_ ? memory_->data : ReadScratchFile(path_);
        FUZZ_CHECK_EQ(model_.Source(), held, "the bytes the source holds at the end");
    }

private:
    using Pair = std::pair<Outcome, Outcome>;

    template <typename OnModel, typename OnStream>
    Pair Both(OnModel onModel, OnStream onStream)
    {
        return {Observe(onModel), Observe(onStream)};
    }

    std::int64_t Count(FuzzInput& input) { return input.Below(static_cast<std::uint32_t>(2 * blockSize_ + 4)); }

    Pair Apply(int operation, FuzzInput& input)
    {
        // The text operations exist only on the text stream; over memory
        // those codes read instead.
        if (text_ == nullptr && operation >= 14)
            operation = 0;
        switch (operation) {
        case 0: return ReadBytes(Count(input));
        case 1: {
            const std::int64_t count = Count(input);
            return Both([&] { return model_.ReadBuffer(count); }, [&] {
                std::string bytes(static_cast<std::size_t>(count), '\0');
                stream_->ReadBuffer(bytes.data(), count);
                return bytes;
            });
        }
        case 2: return Both([&] { return model_.Read(1); }, [&] {
                std::uint8_t ch = 0;
                return stream_->TryReadByte(ch) ? std::string(1, static_cast<char>(ch)) : std::string();
            });
        case 3: {
            const std::uint8_t ch = input.Byte();
            return Both([&] { model_.PutBack(ch); }, [&] { stream_->PutBack(ch); });
        }
        case 4: return SeekSomewhere(input);
        case 5: return Both([&] { return model_.Eof(); }, [&] { return stream_->Eof(); });
        case 6: return Both([&] { return model_.Position(); }, [&] { return stream_->Position(); });
        case 7: return Both([&] { return model_.Size(); }, [&] { return stream_->Size(); });
        case 8: {
            const std::string bytes = input.Bytes(static_cast<std::size_t>(Count(input)));
            return Both([&] { return model_.Write(bytes); },
                        [&] { return stream_->Write(bytes.data(), static_cast<std::int64_t>(bytes.size())); });
        }
        case 9: {
            const std::string bytes = input.Bytes(static_cast<std::size_t>(Count(input)));
            return Both([&] { model_.WriteBuffer(bytes); },
                        [&] { stream_->WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size())); });
        }
        case 10: {
            const std::uint8_t ch = input.Byte();
            return Both([&] { model_.WriteBuffer(std::string(1, static_cast<char>(ch))); },
                        [&] { stream_->WriteByte(ch); });
        }
        case 11: {
            const std::string bytes = input.Bytes(input.Below(24));
            return Both([&] { model_.WriteBuffer(bytes); }, [&] { stream_->WriteBytes(bytes.data(), bytes.size()); });
        }
        case 12: return Both([&] { return model_.Flush(); }, [&] { return stream_->Flush(); });
        case 13: return Both([&] { return model_.Refill(); }, [&] { return stream_->Refill(); });
        default: return ApplyText(operation, input);
        }
    }

    Pair ReadBytes(std::int64_t count)
    {
        return Both([&] { return model_.Read(count); }, [&] {
            std::string bytes(static_cast<std::size_t>(count), '\0');
            bytes.resize(static_cast<std::size_t>(stream_->Read(bytes.data(), count)));
            return bytes;
        });
    }

    Pair ApplyText(int operation, FuzzInput& input)
    {
        switch (operation) {
        case 14: return Both([&] { return std::string(1, static_cast<char>(model_.ReadChar())); },
                             [&] { return std::string(1, static_cast<char>(text_->ReadChar())); });
        case 15: return Both([&] { return model_.ReadLine(); }, [&] { return text_->ReadLine(); });
        case 16: {
            const std::string delimiters = input.Bytes(input.Below(4));
            return Both([&] { return model_.ReadUntil(delimiters); }, [&] { return text_->ReadUntil(delimiters); });
        }
        case 17: {
            const std::string text = input.Bytes(input.Below(24));
            return Both([&] { model_.WriteStr(text); }, [&] { text_->WriteStr(text); });
        }
        default: {
            const auto value = static_cast<std::int32_t>(input.Byte() | input.Byte() << 8 | input.Byte() << 16 |
                                                         static_cast<std::uint32_t>(input.Byte()) << 24);
            return Both([&] { model_.WriteInt(value); }, [&] { text_->WriteInt(value); });
        }
        }
    }

    // Targets stay at or after the start: a position before it is refused
    // by a file and means nothing in memory.
    Pair SeekSomewhere(FuzzInput& input)
    {
        const std::uint8_t choice = input.Byte();
        const auto size = static_cast<std::int64_t>(model_.Source().size());
        const std::int64_t target = input.Below(static_cast<std::uint32_t>(std::min<std::int64_t>(size + 5, 65536)));
        std::uint16_t origin = choice % 4;
        std::int64_t offset = target;
        if (origin == 1)
            offset = target - model_.Position();
        else if (origin == 2)
            offset = size - target;
        else if (origin == 3)
            origin = static_cast<std::uint16_t>(3 + (choice >> 2) * 1000);
        return Both([&] { return model_.Seek(offset, origin); }, [&] { return stream_->Seek(offset, origin); });
    }

    std::string path_;
    StreamModel model_;
    std::int64_t blockSize_;
    std::unique_ptr<MemorySource> memory_;
    std::unique_ptr<TS_BufferStream> stream_;
    TS_TextStream* text_ = nullptr;
    int step_ = 0;
    // PELLIMAR_FUZZ_TRACE=1 lists every step, for reading a failing input.
    bool trace_ = std::getenv("PELLIMAR_FUZZ_TRACE") != nullptr;
};

// Reads to the end through the end test, as the conversion does, one byte
// or a run at a time.
void ReadSourceThatMisreportsItsSize(const std::string& bytes, FuzzInput& input, std::size_t blockSize)
{
    MemorySource source(bytes, 0);
    bool neverTooSmall = true;
    while (!input.Empty() && source.sizeErrors.size() < 8) {
        source.sizeErrors.push_back(static_cast<std::int8_t>(input.Byte()));
        neverTooSmall = neverTooSmall && source.sizeErrors.back() >= 0;
    }
    TS_BufferStream stream(&source, blockSize);
    std::string read;
    std::size_t steps = 0;
    while (!stream.Eof()) {
        FUZZ_CHECK(++steps <= bytes.size() + 2, "the end test never says the data has ended");
        std::uint8_t ch;
        if (steps % 3 == 0 && stream.TryReadByte(ch))
            read += static_cast<char>(ch);
        const std::span<const std::uint8_t> ahead = stream.ReadAhead();
        read.append(reinterpret_cast<const char*>(ahead.data()), ahead.size());
        stream.Consume(ahead.size());
        if (ahead.empty() && stream.TryReadByte(ch))
            read += static_cast<char>(ch);
    }
    FUZZ_CHECK(bytes.starts_with(read), "bytes read are not the source's, in order");
    if (neverTooSmall)
        FUZZ_CHECK_EQ(Show(bytes), Show(read), "a source never smaller than it says is read whole");
}

}  // namespace
}  // namespace pellimar::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace pellimar::fuzz;
    FuzzInput input(data, size);
    const std::uint8_t modeByte = input.Byte();
    const auto mode = static_cast<Mode>(modeByte % 3);
    const std::size_t blockSize = ChosenBlockSize(input.Byte());
    const std::uint32_t limit = input.Below(65536);
    const std::int64_t writable = limit >= 32768 ? INT64_MAX : limit;
    const std::string initial = input.Bytes(input.Below(65536) % 4096);
    if ((modeByte & 0x40) != 0) {
        ReadSourceThatMisreportsItsSize(initial, input, blockSize);
        return 0;
    }

    Harness harness(mode, initial, writable, static_cast<std::int64_t>(blockSize));
    for (int i = 0; i < kMaxOperations && !input.Empty(); ++i)
        harness.Run(input);
    harness.Finish((modeByte & 0x80) == 0);
    return 0;
}
