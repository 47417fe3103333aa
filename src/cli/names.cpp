#include "cli/names.h"

#include <algorithm>
#include <functional>
#include <utility>

#include "cli/messages.h"
#include "cli/packed.h"
#include "platform/encoding.h"
#include "platform/paths.h"

namespace cli {

std::string ClaimedNames::Claim(const std::string& stem, const std::string& extension) {
    if (4 * (count_ + 1) > 3 * table_.size()) Grow();
    if (count_ == kManyNames) records_.reserve(kReservedNameBytes);
    std::string name = stem + extension;
    std::size_t slot = Find(name);
    if (table_[slot] == 0) {
        Keep(slot);
        PutCount(records_, name.size() << 1);
        records_ += name;
        return name;
    }
    const std::size_t base = table_[slot] - 1;
    for (std::size_t n = 2;; ++n) {
        name = stem;
        name += '-';
        name += std::to_string(n);
        name += extension;
        slot = Find(name);
        if (table_[slot] != 0) continue;
        const std::size_t at = Keep(slot);
        PutCount(records_, n << 1 | 1);
        PutCount(records_, at - base);
        PutCount(records_, extension.size());
        return name;
    }
}

// Starts a record in `slot`; returns where.
std::size_t ClaimedNames::Keep(std::size_t slot) {
    table_[slot] = static_cast<std::uint32_t>(records_.size() + 1);
    ++count_;
    return records_.size();
}

// The name of the record at `at`.
std::string ClaimedNames::Name(std::size_t at) const {
    // A numbered name's record may itself be numbered ("a-2" numbered
    // "a-2-2"): the numbers go in from the innermost, the full name.
    std::vector<std::pair<std::size_t, std::size_t>> numbers;  // number, extension size
    for (;;) {
        const std::size_t record = at;
        const std::size_t code = TakeCount(records_, at);
        if ((code & 1) == 0) {
            std::string name = records_.substr(at, code >> 1);
            for (std::size_t k = numbers.size(); k-- > 0;) {
                const std::size_t cut = name.size() - numbers[k].second;
                name.insert(cut, std::to_string(numbers[k].first));
                name.insert(cut, 1, '-');
            }
            return name;
        }
        const std::size_t back = TakeCount(records_, at);
        numbers.emplace_back(code >> 1, TakeCount(records_, at));
        at = record - back;
    }
}

// Where the record at `at` ends.
std::size_t ClaimedNames::Past(std::size_t at) const {
    const std::size_t code = TakeCount(records_, at);
    if ((code & 1) == 0) return at + (code >> 1);
    TakeCount(records_, at);
    TakeCount(records_, at);
    return at;
}

// The slot of `name`, or the free slot where it would go.
std::size_t ClaimedNames::Find(const std::string& name) const {
    const std::size_t mask = table_.size() - 1;
    for (std::size_t slot = std::hash<std::string>{}(name)&mask;; slot = (slot + 1) & mask) {
        if (table_[slot] == 0) return slot;
        if (Name(table_[slot] - 1) == name) return slot;
    }
}

void ClaimedNames::Grow() {
    table_.assign(std::max<std::size_t>(64, 2 * table_.size()), 0);
    for (std::size_t at = 0; at < records_.size(); at = Past(at))
        table_[Find(Name(at))] = static_cast<std::uint32_t>(at + 1);
}

std::string OrderedClaims::Claim(std::size_t job, const std::string& stem,
                                 const std::string& extension) {
    std::unique_lock lock(mutex_);
    turn_.wait(lock, [&] { return nextUnsettled_ >= job; });
    std::string name = names_.Claim(stem, extension);
    Settle(job);
    return name;
}

std::string OrderedClaims::ClaimNow(const std::string& stem, const std::string& extension) {
    const std::lock_guard lock(mutex_);
    return names_.Claim(stem, extension);
}

void OrderedClaims::End(std::size_t job) {
    const std::lock_guard lock(mutex_);
    Settle(job);
}

void OrderedClaims::Settle(std::size_t job) {
    if (job >= settled_.size() || settled_[job]) return;
    settled_[job] = 1;
    const std::size_t before = nextUnsettled_;
    while (nextUnsettled_ < settled_.size() && settled_[nextUnsettled_]) ++nextUnsettled_;
    // Whoever waits for its turn may have it now.
    if (nextUnsettled_ != before) turn_.notify_all();
}

std::string GiveName(const UnnamedFile& file, OrderedClaims& names) {
    const std::string path =
        platform::PathText(platform::FsPath(file.folder) /
                           platform::FsPath(names.ClaimNow(file.stem, file.extension)));
    const platform::Result<> moved = platform::MoveIntoPlace(file.written, path, file.keep);
    return moved ? "" : FileLine(path, moved.reason());
}

std::string FileStem(const std::string& pictureName) {
    std::string stem = platform::PathFromText(pictureName);
    std::replace_if(
        stem.begin(), stem.end(), [](char c) { return !platform::IsFileNameCharacter(c); }, '_');
    if (stem.empty() || stem == "." || stem == "..") stem = "picture";
    return stem;
}

}  // namespace cli
