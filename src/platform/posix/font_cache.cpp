#include "platform/font_cache.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "bytes/reader.h"
#include "platform/files.h"
#include "platform/safe_file.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

constexpr char kMagic[] = "track-analyse font 1\n";
constexpr char kFaceMagic[] = "track-analyse face 1\n";
constexpr std::size_t kMaxCacheFile = 4 << 20;

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string Home() {
    return Environment("HOME");
}

std::string UserFolder(const char* variable, const char* underHome) {
    std::string set = Environment(variable);
    if (!set.empty() && set.front() == '/') return set;
    const std::string home = Home();
    return home.empty() ? "" : home + "/" + underHome;
}

// Modification time (to the nanosecond), size and identity of `name` in
// the folder open as `at` (or of a whole path with AT_FDCWD), written as
// `path`; a missing path is stamped as such, so that its appearance is a
// change too. Returns whether the path is a folder (links followed).
bool StampAt(int at, const char* name, const std::string& path, std::string& out) {
    struct stat info {};
    out += path;
    if (::fstatat(at, name, &info, 0) != 0) {
        out += " -\n";
        return false;
    }
    out += ' ' + std::to_string(info.st_mtim.tv_sec) + '.' + std::to_string(info.st_mtim.tv_nsec) +
           ' ' + std::to_string(info.st_size) + ' ' + std::to_string(info.st_ino) + '\n';
    return S_ISDIR(info.st_mode);
}

bool Stamp(const std::string& path, std::string& out) {
    return StampAt(AT_FDCWD, path.c_str(), path, out);
}

// Inside a folder, every entry (linked configuration snippets are stamped by
// their targets) and every subfolder, in name order. Each entry is looked at
// once, and from its open folder rather than by its whole path: the
// configuration folders hold dozens of links, and this runs at every start.
void StampInside(const std::string& folder, bool entries, int depth, std::string& out) {
    DIR* const dir = ::opendir(folder.c_str());
    if (dir == nullptr) return;
    const int at = ::dirfd(dir);
    struct Entry {
        std::string name;
        unsigned char type;
    };
    std::vector<Entry> inside;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..") inside.push_back({std::string(name), entry->d_type});
    }
    std::sort(inside.begin(), inside.end(),
              [](const Entry& a, const Entry& b) { return a.name < b.name; });
    for (Entry& entry : inside) {
        const char* const name = entry.name.c_str();
        // The folder listing tells files from folders (on most file
        // systems); only a link needs a look at what it names, which
        // stamping it takes anyway.
        if (entry.type == DT_UNKNOWN) {
            struct stat info {};
            const bool known = ::fstatat(at, name, &info, AT_SYMLINK_NOFOLLOW) == 0;
            entry.type = !known                  ? DT_REG
                         : S_ISLNK(info.st_mode) ? DT_LNK
                         : S_ISDIR(info.st_mode) ? DT_DIR
                                                 : DT_REG;
        }
        const std::string path = folder + '/' + entry.name;
        std::string stamp;
        const bool link = entry.type == DT_LNK;
        const bool isFolder = link ? StampAt(at, name, path, stamp) : entry.type == DT_DIR;
        if (isFolder ? depth >= 8 : !entries) continue;
        if (!link) StampAt(at, name, path, stamp);
        out += stamp;
        if (isFolder) StampInside(path, entries, depth + 1, out);
    }
    ::closedir(dir);
}

void StampTree(const std::string& folder, bool entries, std::string& out) {
    Stamp(folder, out);
    StampInside(folder, entries, 0, out);
}

std::uint64_t Fnv1a(std::string_view bytes) {
    std::uint64_t hash = 14695981039346656037ULL;
    for (const char byte : bytes) {
        hash ^= static_cast<unsigned char>(byte);
        hash *= 1099511628211ULL;
    }
    return hash;
}

std::string Hex(std::uint64_t value) {
    static const char digits[] = "0123456789abcdef";
    std::string text(16, '0');
    for (int i = 15; i >= 0; --i, value >>= 4)
        text[static_cast<std::size_t>(i)] = digits[value & 15];
    return text;
}

std::string CacheFolder() {
    const std::string base = UserFolder("XDG_CACHE_HOME", ".cache");
    return base.empty() ? "" : base + "/track-analyse";
}

// `kind` tells the fonts ("font") from the faces' files ("face").
std::string CachePath(const char* kind, const std::string& face, int pixels) {
    const std::string folder = CacheFolder();
    if (folder.empty()) return "";
    const std::string name = face + '\n' + std::to_string(pixels);
    return folder + '/' + kind + '-' + Hex(Fnv1a(name)) + ".bin";
}

std::string Key(const std::string& face, int pixels) {
    return face + '\n' + std::to_string(pixels) + '\n' + FontSetupStamp();
}

}  // namespace

std::string FontSetupStamp() {
    std::string stamp;
    for (const char* name : {"FONTCONFIG_FILE", "FONTCONFIG_PATH", "FONTCONFIG_SYSROOT", "HOME",
                             "XDG_CONFIG_HOME", "XDG_DATA_HOME"})
        stamp += std::string(name) + '=' + Environment(name) + '\n';
    std::vector<std::string> configs = {"/etc/fonts"};
    if (const std::string file = Environment("FONTCONFIG_FILE"); !file.empty()) Stamp(file, stamp);
    if (const std::string path = Environment("FONTCONFIG_PATH"); !path.empty())
        configs.push_back(path);
    if (const std::string user = UserFolder("XDG_CONFIG_HOME", ".config"); !user.empty())
        configs.push_back(user + "/fontconfig");
    if (const std::string home = Home(); !home.empty()) {
        Stamp(home + "/.fonts.conf", stamp);
        configs.push_back(home + "/.fonts.conf.d");
    }
    for (const std::string& folder : configs) StampTree(folder, true, stamp);
    // Font folders: a font added or removed changes its folder's time.
    std::vector<std::string> fonts = {"/usr/share/fonts", "/usr/local/share/fonts"};
    if (const std::string data = UserFolder("XDG_DATA_HOME", ".local/share"); !data.empty())
        fonts.push_back(data + "/fonts");
    if (const std::string home = Home(); !home.empty()) fonts.push_back(home + "/.fonts");
    for (const std::string& folder : fonts) StampTree(folder, false, stamp);
    return stamp;
}

namespace {

// Glyph metrics beyond this many pixels, for characters `pixels` high, come
// only from a damaged or forged entry; a font made from one would draw the
// caption wrong.
int MostPixels(int pixels) {
    return 4 * pixels;
}

// The file's fields, one after another: 64-bit little-endian numbers, and
// texts that carry their size as one.
void PutNumber(std::string& out, std::uint64_t value) {
    for (int i = 0; i < 8; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

void PutText(std::string& out, std::string_view text) {
    PutNumber(out, text.size());
    out += text;
}

// A signed number in [low, high].
bool TakeSmall(bytes::Cursor& fields, int& value, int low, int high) {
    const auto number = static_cast<std::int64_t>(fields.U64());
    if (fields.Failed() || number < low || number > high) return false;
    value = static_cast<int>(number);
    return true;
}

bool TakeText(bytes::Cursor& fields, std::string_view& text) {
    const std::uint64_t size = fields.U64();
    if (fields.Failed() || size > static_cast<std::uint64_t>(fields.Remaining())) return false;
    const std::span<const std::uint8_t> bytes = fields.Bytes(static_cast<std::int64_t>(size));
    text = {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
    return true;
}

bool TakeText(bytes::Cursor& fields, std::string& text) {
    std::string_view view;
    if (!TakeText(fields, view)) return false;
    text = view;
    return true;
}

std::span<const std::uint8_t> Bytes(std::string_view text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// The fields of an entry: what lies between `magic` and the sum of
// everything before it. Nothing when the sum fails: a half-written file is
// a miss.
std::optional<bytes::Cursor> Fields(std::string_view bytes, std::string_view magic) {
    if (bytes.size() < magic.size() + 8 || bytes.substr(0, magic.size()) != magic)
        return std::nullopt;
    const std::size_t body = bytes.size() - 8;
    if (bytes::Reader(Bytes(bytes)).U64(static_cast<std::int64_t>(body)) !=
        Fnv1a(bytes.substr(0, body)))
        return std::nullopt;
    return bytes::Cursor(Bytes(bytes.substr(magic.size(), body - magic.size())));
}

void PutSum(std::string& bytes) {
    PutNumber(bytes, Fnv1a(bytes));
}

// An entry's whole file, read once: this runs at every start, and copies of
// a file this size cost more in fresh memory than reading it. Only a file of
// its own: a link in the cache folder is no entry.
struct EntryFile {
    std::unique_ptr<std::uint8_t[]> buffer;
    std::size_t size = 0;

    std::string_view Text() const { return {reinterpret_cast<const char*>(buffer.get()), size}; }
};

std::optional<EntryFile> ReadEntry(const std::string& path) {
    if (path.empty()) return std::nullopt;
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_size <= 0 ||
        static_cast<std::uint64_t>(info.st_size) > kMaxCacheFile)
        return std::nullopt;
    EntryFile file;
    file.size = static_cast<std::size_t>(info.st_size);
    file.buffer = std::make_unique_for_overwrite<std::uint8_t[]>(file.size);
    // A file that grew meanwhile is refused, one that shrank fails its sum.
    const Result<FileRead> read = ReadWholeFile(path, std::span(file.buffer.get(), file.size));
    if (!read) return std::nullopt;
    file.size = static_cast<std::size_t>(read->bytesRead);
    return file;
}

// The safe writer renames a whole file into place: workers racing to keep
// the same entry each leave a whole file, never a mix. A link put where the
// entry goes is replaced, never written through: the name is the same on
// every machine, so easy to aim at another file. An entry that cannot be
// kept is looked up again next time.
void WriteEntry(const std::string& path, std::string_view bytes) {
    if (path.empty()) return;
    std::error_code error;
    fs::create_directories(CacheFolder(), error);
    if (error) return;
    (void)WriteFileSafely(path, Bytes(bytes), {}, AtLink::kReplace);
}

// Whether the face file is still the one stamped `stamp`.
bool Unchanged(const std::string& faceFile, const std::string& stamp) {
    std::string now;
    Stamp(faceFile, now);
    return now == stamp;
}

}  // namespace

std::optional<FontCacheEntry> ParseFontCache(std::string_view bytes, int pixels) {
    if (pixels < 1 || pixels > kMaxFontPixels) return std::nullopt;
    std::optional<bytes::Cursor> body = Fields(bytes, kMagic);
    if (!body) return std::nullopt;
    bytes::Cursor& fields = *body;
    FontCacheEntry entry;
    Font& font = entry.font;
    const int most = MostPixels(pixels);
    int fixed = 0;
    if (!TakeText(fields, entry.key) || !TakeText(fields, entry.faceFile) ||
        !TakeText(fields, entry.faceStamp) || !TakeText(fields, font.family) ||
        !TakeSmall(fields, fixed, 0, 1) || !TakeSmall(fields, font.ascent, 0, most) ||
        !TakeSmall(fields, font.descent, 0, most))
        return std::nullopt;
    font.fixedWidth = fixed != 0;
    for (Glyph& glyph : font.glyphs) {
        std::string_view mask;
        if (!TakeSmall(fields, glyph.advance, -most, most) ||
            !TakeSmall(fields, glyph.left, -most, most) ||
            !TakeSmall(fields, glyph.top, -most, most) ||
            !TakeSmall(fields, glyph.width, 0, most) || !TakeSmall(fields, glyph.rows, 0, most) ||
            !TakeText(fields, mask) ||
            mask.size() !=
                static_cast<std::size_t>(glyph.width) * static_cast<std::size_t>(glyph.rows))
            return std::nullopt;
        // A glyph without ink is kept as 0 x 0, whatever its sides said.
        if (mask.empty()) {
            glyph.width = glyph.rows = 0;
            continue;
        }
        glyph.mask.assign(mask.begin(), mask.end());
    }
    if (fields.Remaining() != 0) return std::nullopt;
    return entry;
}

std::string FontCacheBytes(const FontCacheEntry& entry) {
    const Font& font = entry.font;
    std::string bytes = kMagic;
    PutText(bytes, entry.key);
    PutText(bytes, entry.faceFile);
    PutText(bytes, entry.faceStamp);
    PutText(bytes, font.family);
    PutNumber(bytes, font.fixedWidth ? 1 : 0);
    PutNumber(bytes, static_cast<std::uint64_t>(font.ascent));
    PutNumber(bytes, static_cast<std::uint64_t>(font.descent));
    for (const Glyph& glyph : font.glyphs) {
        const bool inked = !glyph.mask.empty();
        PutNumber(bytes, static_cast<std::uint64_t>(glyph.advance));
        PutNumber(bytes, static_cast<std::uint64_t>(glyph.left));
        PutNumber(bytes, static_cast<std::uint64_t>(glyph.top));
        PutNumber(bytes, static_cast<std::uint64_t>(inked ? glyph.width : 0));
        PutNumber(bytes, static_cast<std::uint64_t>(inked ? glyph.rows : 0));
        PutText(bytes, std::string_view(reinterpret_cast<const char*>(glyph.mask.data()),
                                        glyph.mask.size()));
    }
    PutSum(bytes);
    return bytes;
}

std::optional<FaceCacheEntry> ParseFaceCache(std::string_view bytes) {
    std::optional<bytes::Cursor> fields = Fields(bytes, kFaceMagic);
    if (!fields) return std::nullopt;
    FaceCacheEntry entry;
    if (!TakeText(*fields, entry.key) || !TakeText(*fields, entry.file.path) ||
        !TakeText(*fields, entry.faceStamp) ||
        !TakeSmall(*fields, entry.file.index, 0, std::numeric_limits<int>::max()) ||
        !TakeText(*fields, entry.file.family) || fields->Remaining() != 0 ||
        entry.file.path.empty())
        return std::nullopt;
    return entry;
}

std::string FaceCacheBytes(const FaceCacheEntry& entry) {
    std::string bytes = kFaceMagic;
    PutText(bytes, entry.key);
    PutText(bytes, entry.file.path);
    PutText(bytes, entry.faceStamp);
    PutNumber(bytes, static_cast<std::uint64_t>(entry.file.index));
    PutText(bytes, entry.file.family);
    PutSum(bytes);
    return bytes;
}

std::unique_ptr<Font> CachedFont(const std::string& face, int pixels) {
    const std::optional<EntryFile> file = ReadEntry(CachePath("font", face, pixels));
    if (!file) return nullptr;
    std::optional<FontCacheEntry> entry = ParseFontCache(file->Text(), pixels);
    if (!entry || entry->key != Key(face, pixels) || !Unchanged(entry->faceFile, entry->faceStamp))
        return nullptr;
    return std::make_unique<Font>(std::move(entry->font));
}

void KeepFont(const std::string& face, int pixels, const std::string& faceFile, const Font& font) {
    FontCacheEntry entry{Key(face, pixels), faceFile, "", font};
    Stamp(faceFile, entry.faceStamp);
    WriteEntry(CachePath("font", face, pixels), FontCacheBytes(entry));
}

std::optional<FaceFile> CachedFaceFile(const std::string& face, int pixels) {
    const std::optional<EntryFile> file = ReadEntry(CachePath("face", face, pixels));
    if (!file) return std::nullopt;
    std::optional<FaceCacheEntry> entry = ParseFaceCache(file->Text());
    if (!entry || entry->key != Key(face, pixels) || !Unchanged(entry->file.path, entry->faceStamp))
        return std::nullopt;
    return std::move(entry->file);
}

void KeepFaceFile(const std::string& face, int pixels, const FaceFile& file) {
    FaceCacheEntry entry{Key(face, pixels), file, ""};
    Stamp(file.path, entry.faceStamp);
    WriteEntry(CachePath("face", face, pixels), FaceCacheBytes(entry));
}

}  // namespace platform
