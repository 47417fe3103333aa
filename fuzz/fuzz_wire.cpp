// What a worker sends its caller, on arbitrary bytes: the messages taken are
// the same whether the bytes arrive at once or in pieces (as reads split
// them), and every result the caller unpacks packs back to the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "cli/batch.h"
#include "platform/workers.h"

namespace {

using Message = std::tuple<std::uint8_t, std::uint64_t, std::string>;

void Fail(const char* what) {
    std::fprintf(stderr, "worker messages: %s\n", what);
    __builtin_trap();
}

// Takes messages as the caller does; false when it would drop the worker.
bool Keep(std::vector<Message>& into, const platform::WorkerMessage& message) {
    if (message.type != platform::kWorkerQuestion && message.type != platform::kWorkerResult)
        return false;
    into.emplace_back(message.type, message.job, std::string(message.text));
    if (message.type == platform::kWorkerResult) {
        if (const auto result = cli::UnpackResult(message.text);
            result && cli::PackResult(*result) != message.text)
            Fail("a result does not pack back to its bytes");
    }
    return true;
}

}  // namespace

// The first byte sets the sizes of the pieces; the rest is the stream.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::size_t step = 1 + data[0];
    const std::string_view stream(reinterpret_cast<const char*>(data + 1), size - 1);

    std::vector<Message> whole;
    const auto used =
        platform::TakeWorkerMessages(stream, [&](const auto& m) { return Keep(whole, m); });

    std::vector<Message> pieces;
    std::string unread;
    bool dropped = false;
    for (std::size_t at = 0, k = 1; at < stream.size() && !dropped; at += k, k = k % step + 1) {
        unread.append(stream.substr(at, k));
        const auto taken =
            platform::TakeWorkerMessages(unread, [&](const auto& m) { return Keep(pieces, m); });
        if (!taken) {
            dropped = true;
        } else {
            unread.erase(0, *taken);
        }
    }
    if (dropped != !used) Fail("pieces and the whole disagree on dropping the worker");
    if (used && (pieces != whole || unread.size() != stream.size() - *used))
        Fail("pieces give other messages than the whole");
    return 0;
}
