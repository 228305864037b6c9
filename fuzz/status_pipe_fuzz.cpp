// Feeds arbitrary bytes, in arbitrary chunks, to the status monitor's pipe framing
// (ReadPipeMessage over bytes in memory) and checks that every chunking ends in
// messages or nothing: no crash, no endless loop, no pending input beyond its bound.
//
// Input layout:
//   byte 0      bound on pending input: 0 for the real one, else 4 * byte (small, so
//               that short inputs reach it)
//   byte 1      low 3 bits: number of chunk sizes that follow (1..8); high 5 bits h:
//               every (h+1)-th read fails and leaves zeros (0: no read fails)
//   next bytes  the chunk sizes, used in turn; 0 is a poll that finds nothing
//   the rest    the bytes written to the pipe
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <vector>

#include "pipe_protocol.h"
#include "platform.h"

namespace {

// The bytes that have arrived on the pipe and not been read yet.
class MemorySource final : public statuspipe::ByteSource {
  public:
    explicit MemorySource(unsigned failEvery) : failEvery_(failEvery) {}

    void Arrive(const std::uint8_t* data, std::size_t size) {
        bytes_.insert(bytes_.end(), data, data + size);
    }
    std::size_t Available() override { return bytes_.size(); }
    void Read(char* buffer, std::size_t count) override {
        ++reads_;
        if (failEvery_ != 0 && reads_ % failEvery_ == 0) return;  // the zeros stay
        count = count < bytes_.size() ? count : bytes_.size();
        for (std::size_t i = 0; i < count; ++i) {
            buffer[i] = static_cast<char>(bytes_.front());
            bytes_.pop_front();
        }
    }
    void Idle() override {}

  private:
    std::deque<std::uint8_t> bytes_;
    unsigned failEvery_;
    unsigned reads_ = 0;
};

void Check(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "status_pipe_fuzz: %s does not hold\n", what);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) return 0;
    const qsizetype maxPending =
        data[0] == 0 ? statuspipe::kMaxPendingInput : qsizetype{4} * data[0];
    const std::size_t sizeCount = 1 + (data[1] & 7u);
    const unsigned failEvery = (data[1] >> 3) == 0 ? 0 : (data[1] >> 3) + 1u;
    if (size < 2 + sizeCount) return 0;
    const std::vector<std::uint8_t> chunkSizes(data + 2, data + 2 + sizeCount);
    const std::uint8_t* stream = data + 2 + sizeCount;
    const std::size_t streamSize = size - 2 - sizeCount;

    // Every size 0 would send nothing: the stream then comes in one piece.
    bool anySize = false;
    for (const std::uint8_t n : chunkSizes) anySize = anySize || n != 0;

    MemorySource source(failEvery);
    QString pending;
    const statusplat::ProcessHandle noProcess;
    std::size_t sent = 0;
    std::size_t taken = 0;
    // Polls go on until everything sent has been read: one call may leave bytes in the
    // pipe (it reads a bounded amount), and a failed read leaves them too.
    for (std::size_t chunk = 0; sent < streamSize || source.Available() > 0; ++chunk) {
        const std::size_t left = streamSize - sent;
        const std::size_t want = anySize ? chunkSizes[chunk % chunkSizes.size()] : left;
        const std::size_t n = want < left ? want : left;
        source.Arrive(stream + sent, n);
        sent += n;
        // One poll: messages until none is complete. Each message uses at least one
        // character of the pending input or of the bytes waiting, so the poll must end.
        const std::size_t bound = static_cast<std::size_t>(pending.size()) + source.Available() + 2;
        for (std::size_t calls = 0;; ++calls) {
            Check(calls <= bound, "calls <= bound");
            const QString message = statuspipe::ReadPipeMessage(
                source, pending, 0, QStringLiteral("Fuzz"), noProcess, maxPending);
            Check(pending.size() <= 2 * maxPending, "pending.size() <= 2 * maxPending");
            if (message.isEmpty()) {
                // Nothing complete: what is left is an open frame within its bound.
                const qsizetype open = pending.indexOf(QLatin1Char('('));
                Check(pending.isEmpty() ||
                          (open >= 0 && pending.indexOf(QLatin1Char(')'), open) < 0 &&
                           pending.size() <= maxPending),
                      "an empty result leaves at most an open frame pending");
                break;
            }
            Check(!message.contains(QChar(0)), "!message.contains(QChar(0))");
            taken += static_cast<std::size_t>(message.size());
        }
        Check(taken <= sent, "taken <= sent");
    }
    return 0;
}
