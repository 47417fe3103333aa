// Naming the outputs of a run: no output of a run overwrites another. The
// first claim of a name gets it, later ones "-2", "-3", ... before the
// extension; claims are granted in the order the tracks were named, whatever
// the number of workers.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "platform/safe_file.h"

namespace cli {

// What a track's job claims names from.
class NameClaims {
  public:
    virtual ~NameClaims() = default;
    // `stem` + `extension` as wanted; returns the name to use.
    virtual std::string Claim(const std::string& stem, const std::string& extension) = 0;
};

// The names claimed so far, exact and packed: one block of records and an
// open-addressing table of where they start. A record is a name in full or,
// for a numbered name, the record it was numbered from (its stem and
// extension) and the number: the copies of one archive in several folders
// cost a few bytes each.
class ClaimedNames : public NameClaims {
  public:
    std::string Claim(const std::string& stem, const std::string& extension) override;

  private:
    std::size_t Keep(std::size_t slot);
    std::string Name(std::size_t at) const;
    std::size_t Past(std::size_t at) const;
    std::size_t Find(const std::string& name) const;
    void Grow();

    std::string records_;
    std::size_t count_ = 0;
    std::vector<std::uint32_t> table_;  // 0: free, else where the record starts + 1
};

// The claims of jobs that run at once, granted in job order: a job's first
// claim waits until every earlier job has made its first or ended; its
// later ones, and names given once a job has ended, are granted at once.
class OrderedClaims {
  public:
    explicit OrderedClaims(std::size_t jobs) : settled_(jobs, 0) {}

    std::string Claim(std::size_t job, const std::string& stem, const std::string& extension);
    std::string ClaimNow(const std::string& stem, const std::string& extension);
    // Job `job` has ended.
    void End(std::size_t job);

  private:
    void Settle(std::size_t job);

    std::mutex mutex_;
    std::condition_variable turn_;
    ClaimedNames names_;
    std::vector<char> settled_;  // made its first claim, or ended
    std::size_t nextUnsettled_ = 0;
};

// Job `job`'s side of OrderedClaims.
class JobClaims : public NameClaims {
  public:
    JobClaims(OrderedClaims& claims, std::size_t job) : claims_(claims), job_(job) {}
    std::string Claim(const std::string& stem, const std::string& extension) override {
        return claims_.Claim(job_, stem, extension);
    }

  private:
    OrderedClaims& claims_;
    std::size_t job_;
};

// A file a job wrote whole under a name of its own, to be renamed to its
// wanted name once the tracks before it have had theirs. So a worker never
// waits for the others to reach their names, and the names are still given
// in the order the tracks were named.
struct UnnamedFile {
    std::string written;  // its present path; empty: there is none
    std::string folder;   // where it is, and stays
    std::string stem, extension;
    platform::FileIdentity keep;  // the track, which it must not replace
};

// Renames `file` to the name `names` give it: "" when done, else why not
// (the file is then gone), as the line that tells it.
std::string GiveName(const UnnamedFile& file, OrderedClaims& names);

// A picture name (Windows-1252) as a file name in an output folder: the
// characters a file name cannot hold become "_".
std::string FileStem(const std::string& pictureName);

}  // namespace cli
